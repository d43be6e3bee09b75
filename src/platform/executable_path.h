#pragma once

#include <string>

namespace tenji::platform {

// Full path of the running executable; empty when it cannot be found.
std::string executable_path();

// The application's title: the executable's file name without its extension.
// It is the caption of every message box that has none of its own.
std::string application_title();

}  // namespace tenji::platform
