#include "app/windows_arguments.h"

#include <windows.h>
#include <shellapi.h>

namespace tenji {

std::vector<std::string> windows_utf8_arguments() {
  std::vector<std::string> out;
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!wide) return out;
  for (int i = 0; i < n; ++i) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, a.data(), bytes, nullptr, nullptr);
    out.push_back(std::move(a));
  }
  LocalFree(wide);
  return out;
}

}  // namespace tenji
