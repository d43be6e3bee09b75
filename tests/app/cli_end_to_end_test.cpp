// The tenjiprint program itself against the virtual embosser on a real
// pseudo-terminal: Ctrl-C, and jobs printed back to back.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "support/expected_streams.h"
#include "support/temp_dir.h"
#include "support/virtual_embosser_process.h"

namespace tenji {
namespace {

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(write_default_settings(settings));
    testing::write_file(document, encode_nrk(std::vector<std::string>(2, std::string(32, '\xDF'))));
  }
  pid_t start(std::vector<std::string> args) {
    args.insert(args.begin(), {TENJIPRINT_PATH, "--settings", settings});
    return testing::spawn_quiet(args);
  }
  int exit_code(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  testing::TempDir dir;
  std::string settings = dir.file("tenjiprint.ini"), document = dir.file("page.NRK");
};

TEST_F(Program, CtrlCEndsWithAWholeCellThenCrAndExits130) {
  testing::VirtualEmbosserProcess embosser(1, 1, "--baud 1200");
  ASSERT_TRUE(embosser.ready());
  const pid_t pid = start({"print", document});
  ASSERT_GT(pid, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const auto interrupted = std::chrono::steady_clock::now();
  ::kill(pid, SIGINT);
  EXPECT_EQ(exit_code(pid), 130);
  // A cell is 0.32 s at 1200 bit/s.
  EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::milliseconds(1200));
  ASSERT_TRUE(embosser.wait_exit());
  const std::string got = embosser.file("job-1.bin");
  ASSERT_GT(got.size(), 100u);
  // Reset, dot size, whole full cells of 38 bytes: the whole job's stream up
  // to a cell's end, then CR, nothing cut.
  EXPECT_EQ((got.size() - 3 - 4 - 1) % 38, 0u) << got.size();
  testing::VirtualEmbosserProcess unpaced(1, 1);
  ASSERT_TRUE(unpaced.ready());
  ASSERT_TRUE(save_port_keys(settings, 0, 3, 1));  // the whole job at 9600 bit/s: 2.5 s
  ASSERT_EQ(exit_code(start({"print", document})), 0);
  ASSERT_TRUE(unpaced.wait_exit());
  EXPECT_EQ(got, unpaced.file("job-1.bin").substr(0, got.size() - 1) + "\x0D");
}

TEST_F(Program, TwentyJobsBackToBackGiveTwentyWholeCaptures) {
  ASSERT_TRUE(save_port_keys(settings, 0, 3, 1));
  testing::write_file(document, encode_nrk({"\xA1", "\xA9"}));
  testing::VirtualEmbosserProcess embosser(1, 20);
  ASSERT_TRUE(embosser.ready());
  for (int i = 0; i < 20; ++i) ASSERT_EQ(exit_code(start({"print", document})), 0) << "job " << i + 1;
  ASSERT_TRUE(embosser.wait_exit());
  for (int i = 1; i <= 20; ++i)
    EXPECT_EQ(embosser.file("job-" + std::to_string(i) + ".bin"), testing::two_line_job_stream()) << "job " << i;
}

}  // namespace
}  // namespace tenji
