// Profile (INI) strings: the settings file and the brs files are kept in
// this format so that files written on Windows read the same here and the
// other way round.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/bounded_file.h"

namespace tenji::platform {

// Profile files bigger than this are refused without being read.
inline constexpr std::uintmax_t PROFILE_MAX_BYTES = 1024 * 1024;

// Some keys of one section, each read through a buffer of `buffer_size`
// characters (at most buffer_size - 1 of them count). Names match without
// regard to ASCII case; a key the file lacks has no value.
struct ProfileValues {
  FileCheck file = FileCheck::missing;
  bool section = false;  // the file has the section
  std::vector<std::optional<std::string>> values;
};
ProfileValues read_profile_values(std::string_view section, const std::vector<std::string>& keys,
                                  std::size_t buffer_size, const std::string& path);

// One key; a missing file, section or key yields `default_text` (cut the
// same way).
std::string read_profile_string(std::string_view section, std::string_view key, std::string_view default_text,
                                std::size_t buffer_size, const std::string& path);

// Sets the keys of `section` to the values, creating the file, the section
// or a key as needed, in one replacement of the whole file: a crash at any
// instant leaves the old file or the new one. Every other line stays byte
// for byte, and so do the file's encoding and line ends. A symbolic link is
// written through to its target. False when the file could not be written
// (or is not one to write: too big, not a regular file).
bool write_profile_strings(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& entries,
                           const std::string& path);
bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path);

}  // namespace tenji::platform
