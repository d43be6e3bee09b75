#pragma once

#include <cstdio>
#include <string>

namespace tenji::platform {

// Where a user's configuration lives on this platform: $XDG_CONFIG_HOME,
// else ~/.config. Empty where the program keeps everything beside itself.
std::string config_home();

bool directory_writable(const std::string& directory);

// True when the stream goes to a terminal (a progress line can be redrawn).
bool is_terminal(std::FILE* stream);

}  // namespace tenji::platform
