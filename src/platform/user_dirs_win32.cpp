#include "platform/user_dirs.h"

#include <io.h>
#include <stdio.h>
#include <windows.h>
#include <shlobj.h>

#include "platform/wide_text.h"

namespace tenji::platform {

// %APPDATA%: where an installed program keeps its settings when its own
// folder is not the user's to write.
std::string config_home() {
  wchar_t path[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return narrow(path);
}

// Whether a file can be made there: the folder's rights decide, not its
// read-only attribute (which Windows ignores for folders).
bool directory_writable(const std::string& directory) {
  std::wstring probe = widen(directory);
  if (!probe.empty() && probe.back() != L'\\' && probe.back() != L'/') probe += L'\\';
  probe += L"tenjiprint-write-test-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool is_terminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

}  // namespace tenji::platform
