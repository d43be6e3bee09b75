// The settings file: section RUK_PRINT of a profile file beside the
// executable, and the brs files that hold the layout keys alone.
#pragma once

#include <functional>
#include <string>

#include "config/print_settings.h"

namespace tenji {

inline constexpr const char* SETTINGS_SECTION = "RUK_PRINT";

// What the user is told when a save did not reach the file.
inline constexpr const char* SETTINGS_WRITE_FAILED = "設定ファイルに書き込めませんでした。";

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

// Writers return true only when every key reached the file.
bool write_default_settings(const std::string& path);
bool save_layout_keys(const std::string& path, const PrintSettings& settings);
bool save_port_keys(const std::string& path, int com_port, int com_speed, int com_flow);

// Readers never fail: a missing file, section or key reads as 0.
void load_layout_keys(const std::string& path, PrintSettings& settings);
void load_port_keys(const std::string& path, int& com_port, int& com_speed, int& com_flow);
void load_all_keys(const std::string& path, PrintSettings& settings);

// The value text of one key as every reader sees it (at most 7 characters).
std::string read_setting_text(const std::string& path, const char* key);

}  // namespace tenji
