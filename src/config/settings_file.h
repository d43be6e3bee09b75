// The settings file: section RUK_PRINT of a profile file beside the
// executable, and the brs files that hold the layout keys alone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/print_settings.h"
#include "platform/bounded_file.h"

namespace tenji {

inline constexpr const char* SETTINGS_SECTION = "RUK_PRINT";

// What the user is told when a save did not reach the file.
inline constexpr const char* SETTINGS_WRITE_FAILED = "設定ファイルに書き込めませんでした。";
// ...with the file named on a line of its own.
inline std::string settings_write_failed(const std::string& path) { return std::string(SETTINGS_WRITE_FAILED) + "\n" + path; }

// Every value is read through a buffer of this many characters, so only the
// first seven characters of a stored value count.
inline constexpr std::size_t SETTINGS_READ_BUFFER = 8;

// "<directory>/<base name>.ini" for an executable path (either separator).
std::string settings_path_for_executable(const std::string& executable_path);

// What the path rule needs to know about the machine, so it can be tested.
struct SettingsPathProbe {
  std::function<bool(const std::string& path)> file_exists;
  std::function<bool(const std::string& directory)> directory_writable;
  std::string config_home;  // $XDG_CONFIG_HOME, else ~/.config
};

// The file beside the executable, unless it is missing and cannot be created
// there (an installed program): then <config home>/tenjiprint/<base>.ini.
std::string choose_settings_path(const std::string& executable_path, const SettingsPathProbe& probe);

// The settings path of this process; creates the fallback folder if needed.
std::string settings_file_path();

// Fills `settings_path` and writes the default file when the file cannot be
// opened for reading. An existing file is never changed. Returns false when
// the default file could not be written.
bool ensure_settings_file(std::string& settings_path);
// The same for a path of the caller's.
bool ensure_settings_file_at(const std::string& path);

// Writers save all their keys in one replacement of the file, and return
// true only when it reached the disk.
bool write_default_settings(const std::string& path);
bool save_layout_keys(const std::string& path, const PrintSettings& settings);
bool save_port_keys(const std::string& path, int com_port, int com_speed, int com_flow);

// What a reader found. A missing file, section or key reads as 0 as ever;
// this says which, so that the user can be told.
struct SettingsRead {
  platform::FileCheck file = platform::FileCheck::ok;  // missing, or refused unread
  bool section = true;                                 // the file has [RUK_PRINT]
  std::vector<std::string> missing_keys;
  bool complete() const { return file == platform::FileCheck::ok && section && missing_keys.empty(); }
};
// "設定ファイル PATH: ..." naming what is wrong, for a warning; empty when
// nothing is.
std::string describe_settings_read(const SettingsRead& read, const std::string& path);

SettingsRead load_layout_keys(const std::string& path, PrintSettings& settings);
SettingsRead load_port_keys(const std::string& path, int& com_port, int& com_speed, int& com_flow);
SettingsRead load_all_keys(const std::string& path, PrintSettings& settings);

}  // namespace tenji
