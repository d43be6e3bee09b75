#include "printer_app/device_uri.h"

#include <cstring>

namespace tenji::server {

int com_number_of_device_uri(const char* uri) {
  const std::size_t prefix = std::strlen(DEVICE_URI_PREFIX);
  if (!uri || std::strncmp(uri, DEVICE_URI_PREFIX, prefix) != 0 || uri[prefix] == '\0') return 0;
  int n = 0;
  for (const char* c = uri + prefix; *c; ++c) {
    if (*c < '0' || *c > '9' || n > 9999) return 0;
    n = n * 10 + (*c - '0');
  }
  return n >= 1 && n <= 9999 ? n : 0;
}

std::string device_uri_for_com(int com_number) { return DEVICE_URI_PREFIX + std::to_string(com_number); }

}  // namespace tenji::server
