// Reading profile strings through the platform's own functions, after the
// same checks of the file as elsewhere (they would read any file whole).
#include "platform/profile.h"

#include <vector>

#include <windows.h>

#include "platform/wide_text.h"

namespace tenji::platform {

namespace {

std::wstring full_path(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return path;
  full.resize(written);
  return full;
}

}  // namespace

ProfileValues read_profile_values(std::string_view section, const std::vector<std::string>& keys,
                                  std::size_t buffer_size, const std::string& path) {
  ProfileValues out;
  out.values.resize(keys.size());
  out.file = read_bounded_file(path, PROFILE_MAX_BYTES).check;
  if (out.file != FileCheck::ok || buffer_size == 0) return out;
  // A name without a folder would be looked for in the Windows folder: the
  // file checked above is the one read.
  const std::wstring s = widen(section), file = full_path(widen(path));
  // The key names of the section: none when there is no such section.
  std::vector<wchar_t> names(64 * 1024, L'\0');
  out.section = GetPrivateProfileStringW(s.c_str(), nullptr, L"", names.data(), static_cast<DWORD>(names.size()),
                                         file.c_str()) > 0;
  const wchar_t missing[] = L"\x01";  // a default no stored value has
  std::vector<wchar_t> buf(buffer_size, L'\0');
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const DWORD n = GetPrivateProfileStringW(s.c_str(), widen(keys[i]).c_str(), missing, buf.data(),
                                             static_cast<DWORD>(buffer_size), file.c_str());
    const std::wstring v(buf.data(), n);
    if (v != missing) out.values[i] = narrow(v);
  }
  return out;
}

}  // namespace tenji::platform
