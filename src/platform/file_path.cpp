#include "platform/file_path.h"

#if defined(_WIN32)
#include "platform/wide_text.h"
#endif

namespace tenji::platform {

std::filesystem::path fs_path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_path(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

std::FILE* open_file(const std::string& utf8, const char* mode) {
#if defined(_WIN32)
  return _wfopen(widen(utf8).c_str(), widen(mode).c_str());
#else
  return std::fopen(utf8.c_str(), mode);
#endif
}

}  // namespace tenji::platform
