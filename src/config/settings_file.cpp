#include "config/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "config/value_text.h"
#include "platform/executable_path.h"
#include "platform/file_path.h"
#include "platform/profile.h"
#include "platform/user_dirs.h"

namespace tenji {

namespace {

// One key: its name, how it is written, and where it lives in the record.
struct Key {
  const char* name;
  int decimals;  // 2 or 1 for reals written "%.2f" / "%.1f"; -1 for integers "%d"
  double PrintSettings::*real;
  std::int32_t PrintSettings::*integer;
};

constexpr Key real2(const char* n, double PrintSettings::*m) { return {n, 2, m, nullptr}; }
constexpr Key real1(const char* n, double PrintSettings::*m) { return {n, 1, m, nullptr}; }
constexpr Key integer(const char* n, std::int32_t PrintSettings::*m) { return {n, -1, nullptr, m}; }

using S = PrintSettings;
const Key TEN_HEIGHT = real2("TEN_HEIGHT", &S::TEN_HEIGHT), TEN_WIDTH = real2("TEN_WIDTH", &S::TEN_WIDTH),
          MASU_BETWEEN = real2("MASU_BETWEEN", &S::MASU_BETWEEN), GYO_BETWEEN = real2("GYO_BETWEEN", &S::GYO_BETWEEN),
          TEN_KIND = integer("TEN_KIND", &S::TEN_KIND), PAPER_SIZE = integer("PAPER_SIZE", &S::PAPER_SIZE),
          CPL = integer("CPL", &S::CPL), LPP = integer("LPP", &S::LPP), START_X = real1("START_X", &S::START_X),
          START_Y = real1("START_Y", &S::START_Y), END_X = real1("END_X", &S::END_X), END_Y = real1("END_Y", &S::END_Y),
          COM_PORT = integer("COM_PORT", &S::COM_PORT), COM_SPEED = integer("COM_SPEED", &S::COM_SPEED),
          COM_FLOW = integer("COM_FLOW", &S::COM_FLOW), BACK_PITCH = integer("BACK_PITCH", &S::BACK_PITCH);

// The groups, each in the order its keys are written.
const std::initializer_list<Key> ALL_KEYS = {TEN_HEIGHT, TEN_WIDTH, MASU_BETWEEN, GYO_BETWEEN, TEN_KIND, PAPER_SIZE,
                                             CPL,        LPP,       START_X,      START_Y,     END_X,    END_Y,
                                             COM_PORT,   COM_SPEED, COM_FLOW,     BACK_PITCH};
const std::initializer_list<Key> LAYOUT_KEYS = {TEN_HEIGHT, TEN_WIDTH, MASU_BETWEEN, GYO_BETWEEN, TEN_KIND,
                                                PAPER_SIZE, CPL,       LPP,          START_X,     START_Y,
                                                END_X,      END_Y,     BACK_PITCH};
const std::initializer_list<Key> PORT_KEYS = {COM_PORT, COM_SPEED, COM_FLOW};

// One read of the file for all the keys; a key it lacks reads as 0.
SettingsRead read_keys(const std::string& path, PrintSettings& s, std::initializer_list<Key> keys) {
  std::vector<std::string> names;
  for (const Key& k : keys) names.emplace_back(k.name);
  const platform::ProfileValues v = platform::read_profile_values(SETTINGS_SECTION, names, SETTINGS_READ_BUFFER, path);
  SettingsRead read;
  read.file = v.file;
  read.section = v.section;
  std::size_t i = 0;
  for (const Key& k : keys) {
    const std::string text = v.values[i].value_or("");
    if (!v.values[i]) read.missing_keys.push_back(names[i]);
    if (k.real)
      s.*k.real = text_to_real(text);
    else
      s.*k.integer = text_to_int(text);
    ++i;
  }
  return read;
}

// All the keys in one replacement of the file.
bool write_keys(const std::string& path, const PrintSettings& s, std::initializer_list<Key> keys) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const Key& k : keys)
    entries.emplace_back(k.name, k.real ? format_real(s.*k.real, k.decimals) : format_int(s.*k.integer));
  return platform::write_profile_strings(SETTINGS_SECTION, entries, path);
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

// A folder of the system's (where packages put programs): root may write
// there, but a settings file made there would be no package's and outlive it.
bool system_folder(const std::string& dir) {
  for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/opt/"})
    if (dir.rfind(prefix, 0) == 0) return true;
  return false;
}

}  // namespace

std::string settings_path_for_executable(const std::string& executable_path) {
  return directory_of(executable_path) + base_name_of(executable_path) + ".ini";
}

std::string choose_settings_path(const std::string& executable_path, const SettingsPathProbe& probe) {
  const std::string beside = settings_path_for_executable(executable_path);
  if (probe.file_exists(beside)) return beside;
  const std::string dir = directory_of(executable_path);
  const bool own_folder = !system_folder(dir) && probe.directory_writable(dir.empty() ? std::string(1, '.') : dir);
  if (own_folder || probe.config_home.empty()) return beside;
  // In the config home's own separators: %APPDATA% has Windows' ones.
  const char* folder = probe.config_home.find('\\') != std::string::npos ? "\\tenjiprint\\" : "/tenjiprint/";
  std::string fallback = probe.config_home;
  fallback.append(folder).append(base_name_of(executable_path)).append(".ini");
  return fallback;
}

std::string settings_file_path() {
  SettingsPathProbe probe;
  probe.file_exists = [](const std::string& p) {
    std::error_code ec;
    return std::filesystem::exists(platform::fs_path(p), ec);
  };
  probe.directory_writable = platform::directory_writable;
  probe.config_home = platform::config_home();
  const std::string path = choose_settings_path(platform::executable_path(), probe);
  const std::string dir = directory_of(path);
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(platform::fs_path(dir), ec);
  }
  return path;
}

bool ensure_settings_file(std::string& settings_path) {
  settings_path = settings_file_path();
  return ensure_settings_file_at(settings_path);
}

bool ensure_settings_file_at(const std::string& path) {
  // Only a missing file is made; one that is there, whatever it holds, is
  // never changed (readers say what is wrong with it).
  if (platform::read_bounded_file(path, 0).check != platform::FileCheck::missing) return true;
  return write_default_settings(path);
}

bool write_default_settings(const std::string& path) { return write_keys(path, default_print_settings(), ALL_KEYS); }

SettingsRead load_layout_keys(const std::string& path, PrintSettings& s) { return read_keys(path, s, LAYOUT_KEYS); }

bool save_layout_keys(const std::string& path, const PrintSettings& s) { return write_keys(path, s, LAYOUT_KEYS); }

SettingsRead load_port_keys(const std::string& path, int& com_port, int& com_speed, int& com_flow) {
  PrintSettings s;
  const SettingsRead read = read_keys(path, s, PORT_KEYS);
  com_port = s.COM_PORT;
  com_speed = s.COM_SPEED;
  com_flow = s.COM_FLOW;
  return read;
}

bool save_port_keys(const std::string& path, int com_port, int com_speed, int com_flow) {
  PrintSettings s;
  s.COM_PORT = com_port;
  s.COM_SPEED = com_speed;
  s.COM_FLOW = com_flow;
  return write_keys(path, s, PORT_KEYS);
}

SettingsRead load_all_keys(const std::string& path, PrintSettings& s) { return read_keys(path, s, ALL_KEYS); }

std::string describe_settings_read(const SettingsRead& read, const std::string& path) {
  std::string text;
  if (read.file != platform::FileCheck::ok) {
    text = platform::file_check_text(read.file);
  } else if (!read.section) {
    text = std::string("[") + SETTINGS_SECTION + "] がありません";
  } else if (!read.missing_keys.empty()) {
    text = "次のキーがありません:";
    for (const auto& k : read.missing_keys) text += " " + k;
  } else {
    return {};
  }
  return "設定ファイル " + path + ": " + text + "（0として読みました）";
}

}  // namespace tenji
