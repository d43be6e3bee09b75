// Replacement through a temporary file beside the target and MoveFileEx.
#include <cstdio>
#include <random>

#include <windows.h>

#include "platform/atomic_file.h"
#include "platform/atomic_file_fault.h"
#include "platform/wide_text.h"

namespace tenji::platform {

bool replace_file_atomically(const std::string& path, const std::string& bytes) {
  const std::wstring target = widen(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  const std::wstring temp = widen(temporary_name_for(path));
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    if (!file_write_allowed(done)) {
      ok = false;
      break;
    }
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 64 * 1024));
    DWORD written = 0;
    ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = ok && file_write_allowed(done) && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    DeleteFileW(temp.c_str());
    return false;
  }
  remove_stale_temporaries(path);
  return true;
}

}  // namespace tenji::platform
