// Windows hands a program its command line in UTF-16; the program works in
// UTF-8.
#pragma once

#include <string>
#include <vector>

namespace tenji {

// The arguments from the wide command line, as UTF-8.
std::vector<std::string> windows_utf8_arguments();

}  // namespace tenji
