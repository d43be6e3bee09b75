#include "serial/com_device_path.h"


#include <sys/stat.h>

#include "platform/user_dirs.h"

namespace tenji {

std::string dosdevices_directory() {
  const std::string base = platform::config_home();
  if (base.empty()) return {};
  return base + "/tenjiprint/dosdevices";
}

std::string com_device_path(int com_number) {
  const std::string dir = dosdevices_directory();
  if (!dir.empty()) {
    const std::string link = dir + "/com" + std::to_string(com_number);
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) return link;
  }
  return "/dev/ttyS" + std::to_string(com_number - 1);
}

}  // namespace tenji
