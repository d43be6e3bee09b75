// Text for the user, in UTF-8, to standard output or error. A Windows
// console is given it through the wide console functions, which show it
// whatever the console's code page; a file or pipe gets UTF-8 bytes on every
// system.
#pragma once

#include <cstdio>
#include <string_view>

namespace tenji::platform {

// "\x1b[K" in `text` clears the rest of the line, on a Windows console too.
void write_text(std::FILE* stream, std::string_view text);

#if defined(__MINGW32__)
__attribute__((format(gnu_printf, 2, 3)))  // MinGW's C++ stdio is the GNU one
#elif defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void print_text(std::FILE* stream, const char* format, ...);

}  // namespace tenji::platform
