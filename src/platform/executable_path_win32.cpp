#include "platform/executable_path.h"

#include <windows.h>

namespace tenji::platform {

std::string executable_path() {
  char buf[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::string(buf, n);
}

}  // namespace tenji::platform
