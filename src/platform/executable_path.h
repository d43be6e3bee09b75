#pragma once

#include <string>

namespace tenji::platform {

// Full path of the running executable; empty when it cannot be found.
std::string executable_path();

}  // namespace tenji::platform
