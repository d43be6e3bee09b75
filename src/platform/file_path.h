// Paths are UTF-8 strings throughout the program. These carry them into the
// standard library and the C runtime, which on Windows would read a narrow
// string in the system's code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace tenji::platform {

std::filesystem::path fs_path(const std::string& utf8);
std::string utf8_path(const std::filesystem::path& path);
// fopen for a UTF-8 path.
std::FILE* open_file(const std::string& utf8, const char* mode);

}  // namespace tenji::platform
