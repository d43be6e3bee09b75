#include "platform/executable_path.h"

namespace tenji::platform {

std::string application_title() {
  const std::string path = executable_path();
  std::string name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace tenji::platform
