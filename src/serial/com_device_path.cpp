#include "serial/com_device_path.h"

#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

namespace tenji {

int com_number_from_device_name(const char* name) {
  if (!name || std::strncmp(name, "\\\\.\\", 4) != 0) return 0;
  const char* p = name + 4;
  auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  if (up(p[0]) != 'C' || up(p[1]) != 'O' || up(p[2]) != 'M') return 0;
  p += 3;
  if (*p < '1' || *p > '9') return 0;
  int n = 0;
  for (; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
    n = n * 10 + (*p - '0');
    if (n > 256) return 0;
  }
  return n;
}

std::string dosdevices_directory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0]) {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/tenjiprint/dosdevices";
}

std::string com_device_path(int com_number) {
  const std::string dir = dosdevices_directory();
  if (!dir.empty()) {
    const std::string link = dir + "/com" + std::to_string(com_number);
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) return link;
  }
  return "/dev/ttyS" + std::to_string(com_number - 1);
}

}  // namespace tenji
