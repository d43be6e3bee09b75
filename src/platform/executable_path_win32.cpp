#include "platform/executable_path.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace tenji::platform {

std::string executable_path() {
  wchar_t buf[32768] = {};
  const DWORD n = GetModuleFileNameW(nullptr, buf, 32768);
  if (n == 0 || n >= 32768) return {};
  return narrow(std::wstring_view(buf, n));
}

}  // namespace tenji::platform
