#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tenji::platform {

namespace {

std::mutex fault_mutex;
std::function<bool(std::size_t)> write_fault;

bool fault_allows(std::size_t written) {
  std::lock_guard lock(fault_mutex);
  return !write_fault || write_fault(written);
}

std::string temporary_name_for(const std::string& path) {
  static thread_local std::mt19937 rng{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".tmp%08x", static_cast<unsigned>(rng()));
  return path + suffix;
}

bool write_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (!fault_allows(done)) {
      errno = ENOSPC;
      return false;
    }
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 64 * 1024);
    const ssize_t n = ::write(fd, bytes.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return fault_allows(done);
}

}  // namespace

std::optional<std::string> read_file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(out).str();
}

bool replace_file_atomically(const std::string& path, const std::string& bytes) {
  mode_t mode = 0644;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) return false;
    mode = existing.st_mode & 07777;
  }

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = temporary_name_for(path);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = write_all(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

void set_file_write_fault(std::function<bool(std::size_t)> fault) {
  std::lock_guard lock(fault_mutex);
  write_fault = std::move(fault);
}

}  // namespace tenji::platform
