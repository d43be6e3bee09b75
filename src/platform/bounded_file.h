// Reading a small file of the user's (settings, layout sets) without trusting
// it: only regular files, only up to a size, and nothing that could block
// (a FIFO) or never end (a device).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tenji::platform {

enum class FileCheck { ok, missing, not_a_file, too_large, unreadable };

// What `check` means, in Japanese, for a message after the file's path.
const char* file_check_text(FileCheck check);

// The file's bytes, or why there are none.
struct BoundedRead {
  FileCheck check = FileCheck::missing;
  std::string bytes;
};
BoundedRead read_bounded_file(const std::string& path, std::uintmax_t max_bytes);

// The path a write must replace: a symbolic link is followed to its target,
// so that the link stays a link.
std::string write_target(const std::string& path);

}  // namespace tenji::platform
