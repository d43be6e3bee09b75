// Reading a small file of the user's (settings, layout sets) without trusting
// it: only regular files, only up to a size, and nothing that could block
// (a FIFO) or never end (a device).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tenji::platform {

enum class FileCheck { ok, missing, not_a_file, too_large, unreadable };

// What `check` means, in Japanese, for a message after the file's path.
const char* file_check_text(FileCheck check);

// A file read piece by piece under the same checks: a long document is
// never held whole.
class BoundedFile {
 public:
  BoundedFile(const std::string& path, std::uintmax_t max_bytes);
  ~BoundedFile();
  BoundedFile(const BoundedFile&) = delete;
  BoundedFile& operator=(const BoundedFile&) = delete;

  // ok, or why the file cannot be read (also after a read that failed or
  // went beyond the limit).
  FileCheck check() const { return check_; }
  std::uintmax_t size() const { return size_; }  // when it was opened
  // Up to `capacity` bytes; 0 at the end of the file or after a failure.
  std::size_t read(char* buffer, std::size_t capacity);
  // Back to the first byte.
  bool rewind();

 private:
  FileCheck check_ = FileCheck::missing;
  std::uintmax_t size_ = 0, read_ = 0, max_;
  std::intptr_t handle_ = -1;  // the platform's handle of the open file
};

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
