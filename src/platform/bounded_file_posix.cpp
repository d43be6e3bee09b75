#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/bounded_file.h"
#include "platform/bounded_file_io.h"

namespace tenji::platform {

BoundedFile::BoundedFile(const std::string& path, std::uintmax_t max_bytes) : max_(max_bytes) {
  // Without blocking: a FIFO would wait for a writer for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    check_ = errno == ENOENT || errno == ENOTDIR ? FileCheck::missing
             : errno == EACCES || errno == EPERM ? FileCheck::unreadable
                                                 : FileCheck::not_a_file;
    return;
  }
  handle_ = fd;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    check_ = FileCheck::not_a_file;
  } else if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) {
    check_ = FileCheck::too_large;
  } else {
    check_ = FileCheck::ok;
    size_ = static_cast<std::uintmax_t>(st.st_size);
  }
}

BoundedFile::~BoundedFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool BoundedFile::rewind() {
  if (check_ != FileCheck::ok || ::lseek(static_cast<int>(handle_), 0, SEEK_SET) != 0) return false;
  read_ = 0;
  return true;
}

std::size_t read_some(std::intptr_t handle, char* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle), buffer, capacity);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return READ_FAILED;
  }
}

}  // namespace tenji::platform
