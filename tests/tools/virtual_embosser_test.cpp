// The virtual embosser process itself, on its pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/virtual_embosser_process.h"

namespace tenji::testing {
namespace {

// A client process that opens the port, writes `bytes` in pieces of
// `piece`, and closes it once they have had the time to go down a line at
// 9600 bit/s, as a program that prints does. Returns its pid. With `pause`,
// after the first piece it says so on pause[1] and waits for a byte on
// pause[0].
pid_t client(const std::string& link, const std::string& bytes, std::size_t piece = 0,
             const int* pause = nullptr) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) _exit(1);
  const std::size_t step = piece ? piece : bytes.size();
  for (std::size_t at = 0; at < bytes.size(); at += step) {
    if (::write(fd, bytes.data() + at, std::min(step, bytes.size() - at)) <= 0) _exit(2);
    if (at == 0 && pause) {
      char c = 'p';
      (void)!::write(pause[1], &c, 1);
      (void)!::read(pause[0], &c, 1);  // until the test lets it go on
    }
  }
  ::usleep(static_cast<useconds_t>(bytes.size() * 10 * 1000000 / 9600));
  ::close(fd);
  _exit(0);
}

int exit_code(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string job_of(char letter, std::size_t n) { return std::string(n, letter); }

TEST(VirtualEmbosser, ClientsOneAfterAnotherGiveAJobEach) {
  // No gap (the next client starts the moment one exits) and 20 ms apart;
  // pieces as a job's writes come, or all at once.
  const struct {
    int gap_ms;
    std::size_t piece;
  } cases[] = {{0, 0}, {0, 64}, {20, 0}, {20, 64}};
  for (const auto& c : cases) {
    constexpr int CLIENTS = 4;
    VirtualEmbosserProcess embosser(1, CLIENTS);
    ASSERT_TRUE(embosser.ready());
    for (int i = 0; i < CLIENTS; ++i) {
      ASSERT_EQ(exit_code(client(embosser.com_link(), job_of(static_cast<char>('A' + i), 200 + 50 * i), c.piece)), 0);
      if (c.gap_ms) std::this_thread::sleep_for(std::chrono::milliseconds(c.gap_ms));
    }
    ASSERT_TRUE(embosser.wait_exit()) << "gap " << c.gap_ms << " ms";
    for (int i = 0; i < CLIENTS; ++i) {
      const std::string name = "job-" + std::to_string(i + 1);
      EXPECT_EQ(embosser.file(name + ".bin"), job_of(static_cast<char>('A' + i), 200 + 50 * i))
          << name << ", gap " << c.gap_ms << " ms, pieces of " << c.piece;
      EXPECT_NE(embosser.file(name + ".json").find("\"boundary_certain\": true"), std::string::npos) << name;
    }
  }
}

TEST(VirtualEmbosser, ASecondOpenDuringAJobJoinsItAndTheNextJobStillComes) {
  VirtualEmbosserProcess embosser(1, 2);
  ASSERT_TRUE(embosser.ready());
  int paused[2], go_on[2];
  ASSERT_EQ(::pipe(paused), 0);
  ASSERT_EQ(::pipe(go_on), 0);
  const int pause[2] = {go_on[0], paused[1]};
  const std::string first = job_of('P', 300) + job_of('Q', 300);
  const pid_t printing = client(embosser.com_link(), first, 300, pause);
  char c;
  ASSERT_EQ(::read(paused[0], &c, 1), 1);  // the job is half sent
  // Another program looks at the port meanwhile (as port-info does) and goes.
  const pid_t looker = fork();
  if (looker == 0) {
    const int fd = ::open(embosser.com_link().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    _exit(fd >= 0 && ::close(fd) == 0 ? 0 : 1);
  }
  ASSERT_EQ(exit_code(looker), 0);
  ASSERT_EQ(::write(go_on[1], "x", 1), 1);
  ASSERT_EQ(exit_code(printing), 0);
  ASSERT_EQ(exit_code(client(embosser.com_link(), job_of('R', 200))), 0);
  ASSERT_TRUE(embosser.wait_exit());
  EXPECT_EQ(embosser.file("job-1.bin"), first);
  EXPECT_EQ(embosser.file("job-2.bin"), job_of('R', 200));
  for (int fd : {paused[0], paused[1], go_on[0], go_on[1]}) ::close(fd);
}

TEST(VirtualEmbosser, AnExclusiveLockLeftByAKilledClientIsCleared) {
  VirtualEmbosserProcess embosser(1, 2);
  ASSERT_TRUE(embosser.ready());
  const std::string link = embosser.com_link();
  // A client that dies holding the port exclusive, as a killed tenjiprint does.
  const pid_t killed = fork();
  if (killed == 0) {
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    ::ioctl(fd, TIOCEXCL);
    _exit(fd >= 0 ? 0 : 1);
  }
  ASSERT_EQ(exit_code(killed), 0);
  // The embosser has seen the close once the next job has come through.
  ASSERT_EQ(exit_code(client(link, job_of('Z', 10))), 0);
  ASSERT_TRUE(embosser.wait_file("job-1.bin"));
  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  int exclusive = -1;
  ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);  // a user's next open is let in
  ::close(fd);
}

}  // namespace
}  // namespace tenji::testing
