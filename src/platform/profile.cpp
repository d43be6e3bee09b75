// Reading profile files with our own reader, which takes a file as Windows'
// profile functions do.
#include "platform/profile.h"
#include "platform/profile_text.h"

namespace tenji::platform {

ProfileValues read_profile_values(std::string_view section, const std::vector<std::string>& keys,
                                  std::size_t buffer_size, const std::string& path) {
  ProfileValues out;
  out.values.resize(keys.size());
  const BoundedRead file = read_bounded_file(path, PROFILE_MAX_BYTES);
  out.file = file.check;
  if (file.check != FileCheck::ok) return out;
  const ProfileText text = ProfileText::decode(file.bytes);
  out.section = text.keys(section).has_value();
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (auto v = text.value(section, keys[i])) out.values[i] = v->substr(0, buffer_size ? buffer_size - 1 : 0);
  return out;
}

}  // namespace tenji::platform
