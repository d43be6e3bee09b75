#include "platform/executable_path.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace tenji::platform {

std::string executable_path() {
  std::wstring buf(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  if (n == 0 || n >= buf.size()) return {};
  return narrow(std::wstring_view(buf.data(), n));
}

}  // namespace tenji::platform
