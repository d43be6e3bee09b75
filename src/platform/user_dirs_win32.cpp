#include "platform/user_dirs.h"

#include <io.h>
#include <stdio.h>

namespace tenji::platform {

// The settings file stays beside the executable, as it always has here.
std::string config_home() { return {}; }

bool directory_writable(const std::string& directory) { return ::_access(directory.c_str(), 2) == 0; }

bool is_terminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

}  // namespace tenji::platform
