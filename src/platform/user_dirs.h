#pragma once

#include <cstdio>
#include <string>

namespace tenji::platform {

// Where a user's configuration lives on this platform: $XDG_CONFIG_HOME,
// else ~/.config; %APPDATA% on Windows. Empty when it cannot be found.
std::string config_home();

bool directory_writable(const std::string& directory);

// True when the stream goes to a terminal (a progress line can be redrawn).
bool is_terminal(std::FILE* stream);

}  // namespace tenji::platform
