#include "support/pty_pair.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tenji::testing {

PtyPair::PtyPair(int com_number) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
    throw std::runtime_error("no pseudo-terminal");
  slave_path_ = ::ptsname(master_);
  const std::filesystem::path link = home_.com_link(com_number);
  std::filesystem::create_directories(link.parent_path());
  std::filesystem::create_symlink(slave_path_, link);
}

PtyPair::~PtyPair() {
  if (master_ >= 0) ::close(master_);
}

std::string PtyPair::read_master(std::size_t want, int ms) {
  std::string out;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    char buf[4096];
    ssize_t n;
    while ((n = ::read(master_, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    if (out.size() >= want) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{master_, POLLIN, 0};
    // While the slave is closed the master reports POLLHUP at once.
    if (::poll(&p, 1, static_cast<int>(left.count())) > 0 && !(p.revents & POLLIN)) ::usleep(1000);
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
