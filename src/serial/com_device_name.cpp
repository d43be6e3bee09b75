#include "serial/com_device_name.h"

#include <cstring>

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

}  // namespace tenji
