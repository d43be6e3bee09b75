// The virtual embosser process itself, on its pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/virtual_embosser_process.h"

namespace tenji::testing {
namespace {

TEST(VirtualEmbosser, AnExclusiveLockLeftByAKilledClientIsCleared) {
  VirtualEmbosserProcess embosser(1, 2);
  ASSERT_TRUE(embosser.ready());
  const std::string link = embosser.com_link();
  // A client that dies holding the port exclusive, as a killed tenjiprint does.
  const pid_t client = fork();
  if (client == 0) {
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    ::ioctl(fd, TIOCEXCL);
    _exit(fd >= 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(client, &status, 0), client);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the embosser sees the close
  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  int exclusive = -1;
  ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);  // a user's next open is let in
  ::close(fd);
}

}  // namespace
}  // namespace tenji::testing
