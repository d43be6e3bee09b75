// Windows hands a program its command line in UTF-16 and its console a code
// page of its own; the program works in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace tenji {

// The arguments from the wide command line, as UTF-8.
std::vector<std::string> windows_utf8_arguments();
// The console, when there is one, shows UTF-8 output as text until the
// program ends.
void use_utf8_console();

}  // namespace tenji
