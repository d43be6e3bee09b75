#include "config/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "config/value_text.h"
#include "platform/executable_path.h"
#include "platform/profile.h"
#include "platform/user_dirs.h"

namespace tenji {

namespace {

double read_real(const std::string& path, const char* key) {
  return text_to_real(read_setting_text(path, key));
}

int read_int(const std::string& path, const char* key) {
  return text_to_int(read_setting_text(path, key));
}

bool write_text(const std::string& path, const char* key, const std::string& text) {
  return platform::write_profile_string(SETTINGS_SECTION, key, text, path);
}

bool write_real2(const std::string& path, const char* key, double v) {
  return write_text(path, key, format_real(v, 2));
}
bool write_real1(const std::string& path, const char* key, double v) {
  return write_text(path, key, format_real(v, 1));
}
bool write_int(const std::string& path, const char* key, int v) {
  return write_text(path, key, format_int(v));
}

std::size_t last_separator(const std::string& p) {
  const std::size_t slash = p.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

std::string directory_of(const std::string& p) { return p.substr(0, last_separator(p)); }

std::string base_name_of(const std::string& p) {
  const std::string name = p.substr(last_separator(p));
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}


}  // namespace

std::string read_setting_text(const std::string& path, const char* key) {
  return platform::read_profile_string(SETTINGS_SECTION, key, "", SETTINGS_READ_BUFFER, path);
}

std::string settings_path_for_executable(const std::string& executable_path) {
  return directory_of(executable_path) + base_name_of(executable_path) + ".ini";
}

std::string choose_settings_path(const std::string& executable_path, const SettingsPathProbe& probe) {
  const std::string beside = settings_path_for_executable(executable_path);
  if (probe.file_exists(beside)) return beside;
  const std::string dir = directory_of(executable_path);
  if (probe.directory_writable(dir.empty() ? std::string(1, '.') : dir) || probe.config_home.empty())
    return beside;
  std::string fallback = probe.config_home;
  fallback.append("/tenjiprint/").append(base_name_of(executable_path)).append(".ini");
  return fallback;
}

std::string settings_file_path() {
  SettingsPathProbe probe;
  probe.file_exists = [](const std::string& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
  };
  probe.directory_writable = platform::directory_writable;
  probe.config_home = platform::config_home();
  const std::string path = choose_settings_path(platform::executable_path(), probe);
  const std::string dir = directory_of(path);
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
  }
  return path;
}

bool ensure_settings_file(std::string& settings_path) {
  settings_path = settings_file_path();
  if (std::FILE* f = std::fopen(settings_path.c_str(), "r")) {
    std::fclose(f);
    return true;
  }
  return write_default_settings(settings_path);
}

bool write_default_settings(const std::string& path) {
  const PrintSettings d = default_print_settings();
  bool ok = true;
  ok &= write_real2(path, "TEN_HEIGHT", d.TEN_HEIGHT);
  ok &= write_real2(path, "TEN_WIDTH", d.TEN_WIDTH);
  ok &= write_real2(path, "MASU_BETWEEN", d.MASU_BETWEEN);
  ok &= write_real2(path, "GYO_BETWEEN", d.GYO_BETWEEN);
  ok &= write_int(path, "TEN_KIND", d.TEN_KIND);
  ok &= write_int(path, "PAPER_SIZE", d.PAPER_SIZE);
  ok &= write_int(path, "CPL", d.CPL);
  ok &= write_int(path, "LPP", d.LPP);
  ok &= write_real1(path, "START_X", d.START_X);
  ok &= write_real1(path, "START_Y", d.START_Y);
  ok &= write_real1(path, "END_X", d.END_X);
  ok &= write_real1(path, "END_Y", d.END_Y);
  ok &= write_int(path, "COM_PORT", d.COM_PORT);
  ok &= write_int(path, "COM_SPEED", d.COM_SPEED);
  ok &= write_int(path, "COM_FLOW", d.COM_FLOW);
  ok &= write_int(path, "BACK_PITCH", d.BACK_PITCH);
  return ok;
}

void load_layout_keys(const std::string& path, PrintSettings& s) {
  s.TEN_HEIGHT = read_real(path, "TEN_HEIGHT");
  s.TEN_WIDTH = read_real(path, "TEN_WIDTH");
  s.MASU_BETWEEN = read_real(path, "MASU_BETWEEN");
  s.GYO_BETWEEN = read_real(path, "GYO_BETWEEN");
  s.TEN_KIND = read_int(path, "TEN_KIND");
  s.PAPER_SIZE = read_int(path, "PAPER_SIZE");
  s.CPL = read_int(path, "CPL");
  s.LPP = read_int(path, "LPP");
  s.START_X = read_real(path, "START_X");
  s.START_Y = read_real(path, "START_Y");
  s.END_X = read_real(path, "END_X");
  s.END_Y = read_real(path, "END_Y");
  s.BACK_PITCH = read_int(path, "BACK_PITCH");
}

bool save_layout_keys(const std::string& path, const PrintSettings& s) {
  bool ok = true;
  ok &= write_real2(path, "TEN_HEIGHT", s.TEN_HEIGHT);
  ok &= write_real2(path, "TEN_WIDTH", s.TEN_WIDTH);
  ok &= write_real2(path, "MASU_BETWEEN", s.MASU_BETWEEN);
  ok &= write_real2(path, "GYO_BETWEEN", s.GYO_BETWEEN);
  ok &= write_int(path, "TEN_KIND", s.TEN_KIND);
  ok &= write_int(path, "PAPER_SIZE", s.PAPER_SIZE);
  ok &= write_int(path, "CPL", s.CPL);
  ok &= write_int(path, "LPP", s.LPP);
  ok &= write_real1(path, "START_X", s.START_X);
  ok &= write_real1(path, "START_Y", s.START_Y);
  ok &= write_real1(path, "END_X", s.END_X);
  ok &= write_real1(path, "END_Y", s.END_Y);
  ok &= write_int(path, "BACK_PITCH", s.BACK_PITCH);
  return ok;
}

void load_port_keys(const std::string& path, int& com_port, int& com_speed, int& com_flow) {
  com_port = read_int(path, "COM_PORT");
  com_speed = read_int(path, "COM_SPEED");
  com_flow = read_int(path, "COM_FLOW");
}

bool save_port_keys(const std::string& path, int com_port, int com_speed, int com_flow) {
  bool ok = true;
  ok &= write_int(path, "COM_PORT", com_port);
  ok &= write_int(path, "COM_SPEED", com_speed);
  ok &= write_int(path, "COM_FLOW", com_flow);
  return ok;
}

void load_all_keys(const std::string& path, PrintSettings& s) {
  load_layout_keys(path, s);
  load_port_keys(path, s.COM_PORT, s.COM_SPEED, s.COM_FLOW);
}

}  // namespace tenji
