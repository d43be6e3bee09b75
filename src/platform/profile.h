// Profile (INI) strings: the settings file and the brs files are kept in
// this format so that files written on Windows read the same here and the
// other way round.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tenji::platform {

// Reads `key` of `section` from the file at `path` through a buffer of
// `buffer_size` characters: the result holds at most buffer_size - 1
// characters. A missing file, section or key yields `default_text` (cut the
// same way). Section and key names match without regard to ASCII case.
std::string read_profile_string(std::string_view section, std::string_view key,
                                std::string_view default_text, std::size_t buffer_size,
                                const std::string& path);

// Sets `key` of `section` to `value`, creating the file, the section or the
// key as needed. Every other line of the file stays byte for byte. The file
// is replaced atomically. Returns false when the file could not be written.
bool write_profile_string(std::string_view section, std::string_view key,
                          std::string_view value, const std::string& path);

}  // namespace tenji::platform
