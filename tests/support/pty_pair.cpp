#include "support/pty_pair.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace tenji::testing {

PtyPair::PtyPair(int com_number) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
    throw std::runtime_error("no pseudo-terminal");
  // Programs the test starts must not hold the far end open: closing it is how a test unplugs the cable.
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  const std::filesystem::path link = home_.com_link(com_number);
  std::filesystem::create_directories(link.parent_path());
  std::filesystem::create_symlink(::ptsname(master_), link);
}

PtyPair::~PtyPair() { close_master(); }

std::string PtyPair::read_master(std::size_t want, int ms) {
  std::string out;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (out.size() < want && std::chrono::steady_clock::now() < end) {
    char buf[4096];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) out.append(buf, static_cast<std::size_t>(n));
    else ::usleep(500);  // nothing yet, or the slave is closed
  }
  return out;
}

void PtyPair::close_master() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PtyPair::write_master(const std::string& bytes) {
  if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("write to pty master failed");
}

}  // namespace tenji::testing
