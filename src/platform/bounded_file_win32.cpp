#include <windows.h>

#include "platform/bounded_file.h"
#include "platform/bounded_file_io.h"
#include "platform/wide_text.h"

namespace tenji::platform {

BoundedFile::BoundedFile(const std::string& path, std::uintmax_t max_bytes) : max_(max_bytes) {
  const std::wstring wide = widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    check_ = FileCheck::not_a_file;
    return;
  }
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    check_ = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? FileCheck::missing
             : e == ERROR_ACCESS_DENIED                             ? FileCheck::unreadable
                                                                    : FileCheck::not_a_file;
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    check_ = FileCheck::not_a_file;
  } else if (static_cast<std::uintmax_t>(size.QuadPart) > max_bytes) {
    check_ = FileCheck::too_large;
  } else {
    check_ = FileCheck::ok;
    size_ = static_cast<std::uintmax_t>(size.QuadPart);
  }
}

BoundedFile::~BoundedFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool BoundedFile::rewind() {
  LARGE_INTEGER zero{};
  if (check_ != FileCheck::ok || !SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), zero, nullptr, FILE_BEGIN))
    return false;
  read_ = 0;
  return true;
}

std::size_t read_some(std::intptr_t handle, char* buffer, std::size_t capacity) {
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(capacity > 0x40000000u ? 0x40000000u : capacity);
  if (!ReadFile(reinterpret_cast<HANDLE>(handle), buffer, want, &got, nullptr)) return READ_FAILED;
  return got;
}

}  // namespace tenji::platform
