#include <windows.h>

#include "platform/bounded_file.h"
#include "platform/wide_text.h"

namespace tenji::platform {

BoundedRead read_bounded_file(const std::string& path, std::uintmax_t max_bytes) {
  BoundedRead r;
  const std::wstring wide = widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    r.check = FileCheck::not_a_file;
    return r;
  }
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    r.check = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? FileCheck::missing
              : e == ERROR_ACCESS_DENIED                             ? FileCheck::unreadable
                                                                     : FileCheck::not_a_file;
    return r;
  }
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    r.check = FileCheck::not_a_file;
  } else if (static_cast<std::uintmax_t>(size.QuadPart) > max_bytes) {
    r.check = FileCheck::too_large;
  } else {
    r.check = FileCheck::ok;
    r.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!r.bytes.empty() && (!ReadFile(h, r.bytes.data(), static_cast<DWORD>(r.bytes.size()), &got, nullptr) ||
                             got != r.bytes.size()))
      r.check = FileCheck::unreadable;
  }
  CloseHandle(h);
  if (r.check != FileCheck::ok) r.bytes.clear();
  return r;
}

}  // namespace tenji::platform
