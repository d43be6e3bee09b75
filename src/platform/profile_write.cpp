// Writing profile files: our own on every platform, so that a save of many
// keys is one atomic replacement of the file.
#include "platform/atomic_file.h"
#include "platform/profile.h"
#include "platform/profile_text.h"

namespace tenji::platform {

bool write_profile_strings(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& entries,
                           const std::string& path) {
  const std::string target = write_target(path);
  const BoundedRead existing = read_bounded_file(target, PROFILE_MAX_BYTES);
  if (existing.check != FileCheck::ok && existing.check != FileCheck::missing) return false;
  ProfileText text = ProfileText::decode(existing.bytes);
  for (const auto& [key, value] : entries)
    if (!text.set(section, key, value)) return false;
  return replace_file_atomically(target, text.encode());
}

bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) {
  return write_profile_strings(section, {{std::string(key), std::string(value)}}, path);
}

std::string read_profile_string(std::string_view section, std::string_view key, std::string_view default_text,
                                std::size_t buffer_size, const std::string& path) {
  const ProfileValues v = read_profile_values(section, {std::string(key)}, buffer_size, path);
  if (v.values.front()) return *v.values.front();
  return std::string(default_text.substr(0, buffer_size ? buffer_size - 1 : 0));
}

}  // namespace tenji::platform
