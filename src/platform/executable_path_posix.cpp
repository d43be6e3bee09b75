#include "platform/executable_path.h"

#include <climits>
#include <vector>

#include <unistd.h>

namespace tenji::platform {

std::string executable_path() {
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

}  // namespace tenji::platform
