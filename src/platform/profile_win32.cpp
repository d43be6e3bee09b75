// Profile strings through the platform's own functions.
#include "platform/profile.h"

#include <vector>

#include <windows.h>

namespace tenji::platform {

std::string read_profile_string(std::string_view section, std::string_view key, std::string_view default_text,
                                std::size_t buffer_size, const std::string& path) {
  if (buffer_size == 0) return {};
  std::vector<char> buf(buffer_size, '\0');
  const std::string s(section), k(key), d(default_text);
  const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buf.data(),
                                           static_cast<DWORD>(buffer_size), path.c_str());
  return std::string(buf.data(), n);
}

bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) {
  const std::string s(section), k(key), v(value);
  if (s.empty() || k.empty() || v.find_first_of("\r\n") != std::string::npos) return false;
  return WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), path.c_str()) != 0;
}

}  // namespace tenji::platform
