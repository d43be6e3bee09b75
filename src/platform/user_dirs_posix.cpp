#include "platform/user_dirs.h"

#include <cstdlib>

#include <unistd.h>

namespace tenji::platform {

std::string config_home() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config";
  return {};
}

bool directory_writable(const std::string& directory) { return ::access(directory.c_str(), W_OK) == 0; }

bool is_terminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

}  // namespace tenji::platform
