#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/bounded_file.h"

namespace tenji::platform {

BoundedRead read_bounded_file(const std::string& path, std::uintmax_t max_bytes) {
  BoundedRead r;
  // Without blocking: a FIFO would wait for a writer for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    r.check = errno == ENOENT || errno == ENOTDIR ? FileCheck::missing
              : errno == EACCES || errno == EPERM ? FileCheck::unreadable
                                                  : FileCheck::not_a_file;
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    r.check = FileCheck::not_a_file;
  } else if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) {
    r.check = FileCheck::too_large;
  } else {
    r.check = FileCheck::ok;
    char buf[65536];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) != 0;) {
      if (n < 0) {
        if (errno == EINTR) continue;
        r.check = FileCheck::unreadable;
        break;
      }
      r.bytes.append(buf, static_cast<std::size_t>(n));
      if (r.bytes.size() > max_bytes) {  // it grew while being read
        r.check = FileCheck::too_large;
        break;
      }
    }
  }
  ::close(fd);
  if (r.check != FileCheck::ok) r.bytes.clear();
  return r;
}

}  // namespace tenji::platform
