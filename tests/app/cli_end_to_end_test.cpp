// The tenjiprint program itself against the virtual embosser on a real
// pseudo-terminal: Ctrl-C, and jobs printed back to back.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "support/command_output.h"
#include "support/expected_streams.h"
#include "support/pty_pair.h"
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

TEST_F(Program, AnAdapterPulledOutMidJobEndsItWithinASecondSayingHowFarItCame) {
  testing::PtyPair pty(1);  // the settings' COM1, at 1200 bit/s
  FILE* program = ::popen(("exec " TENJIPRINT_PATH " --settings " + settings + " print " + document + " 2>&1").c_str(), "r");
  ASSERT_NE(program, nullptr);
  ASSERT_GE(pty.read_master(200, 10000).size(), 200u);  // the job is under way
  pty.close_master();
  const auto pulled = std::chrono::steady_clock::now();
  const std::string said = testing::read_to_end(program);
  const int status = ::pclose(program);
  EXPECT_LT(std::chrono::steady_clock::now() - pulled, std::chrono::seconds(1));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(said.find("ポート COM1（"), std::string::npos) << said;
  EXPECT_NE(said.find(" が外れました（ケーブルと点字プリンターの電源を確認してください）。\n1/1部 1/2行まで送りました。"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("GL Error"), std::string::npos) << said;  // the line's debugging texts stay off the terminal
}

// Run as root, the test gives the port to the group dialout and prints as
// nobody, who is not in it.
TEST_F(Program, APortTheUserMayNotOpenNamesTheGroupAndTheCommandThatAddsThem) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the port to another user";
  testing::PtyPair pty(1);
  const std::string home = std::getenv("XDG_CONFIG_HOME");
  const std::string device = std::filesystem::read_symlink(home + "/tenjiprint/dosdevices/com1").string();
  ASSERT_EQ(::chown(device.c_str(), 0, 20), 0);  // root:dialout, rw-rw----
  ASSERT_EQ(::chmod(device.c_str(), 0660), 0);
  for (const std::string& path : {home, dir.path()}) ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
  for (const std::string& path : {settings, document}) ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  int status = -1;
  const std::string said = testing::output_of("setpriv --reuid=65534 --regid=65534 --clear-groups " TENJIPRINT_PATH
                                              " --settings " + settings + " print " + document + " 2>&1",
                                              &status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(said.find("を開く権限がありません（" + device + " はグループ dialout のものです）。"
                      "次のコマンドでグループに加わり、ログインし直してください：\nsudo usermod -aG dialout nobody\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("ほかのプログラムが使っています"), std::string::npos) << said;  // not taken for a busy port
}

// What preview writes and what the embosser receives, for the same print:
// the pages with every dot, and the counts of the stream.
std::string pages_and_counts(const std::string& json) {
  const auto from = json.find("\"pages\": [");
  return from == std::string::npos ? "" : json.substr(from);
}

TEST_F(Program, ThePreviewsDotsAreTheEmbossersForRandomDocumentsSettingsRangesAndCopies) {
  constexpr int CASES = 30;
  std::mt19937 random(20261207);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto mm = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
  testing::VirtualEmbosserProcess embosser(1, CASES);
  ASSERT_TRUE(embosser.ready());
  for (int job = 1; job <= CASES;) {
    PrintSettings s = default_print_settings();
    s.TEN_HEIGHT = mm(2.0, 3.0), s.TEN_WIDTH = mm(2.0, 3.0), s.MASU_BETWEEN = mm(2.5, 5.0), s.GYO_BETWEEN = mm(4, 8);
    s.START_X = mm(0, 20), s.START_Y = mm(0, 20), s.TEN_KIND = pick(0, 2), s.BACK_PITCH = pick(0, 10);
    s.CPL = pick(1, 6), s.LPP = pick(1, 4), s.PAPER_SIZE = pick(0, 1);
    ASSERT_TRUE(save_layout_keys(settings, s) && save_port_keys(settings, 0, 3, 1));
    std::string text;
    for (int line = pick(1, 6); line > 0; --line) {
      for (int cell = pick(0, 7); cell > 0; --cell)
        text += std::string_view("⠀⠁⠃⠉⠙⠑⠋⠛⠓⠊⠚⠅⠇⠍⠝⠕⠏⠟⠗⠎⠞⠥⠧⠺⠭⠽⠵⠿").substr(3 * static_cast<std::size_t>(pick(0, 27)), 3);
      text += pick(0, 4) == 0 ? "\f" : "\n";
    }
    testing::write_file(dir.file("doc.txt"), text);
    std::vector<std::string> choice = {dir.file("doc.txt"), "--force", "--copies", std::to_string(pick(1, 2))};
    if (pick(0, 2) > 0) choice.insert(choice.end(), {"--pages", pick(0, 1) ? "all" : "1-2"});
    if (choice.size() > 4 && pick(0, 2) == 0) choice.insert(choice.end(), {"--from-line", "2"});
    std::vector<std::string> preview = {"preview"}, print = {"print"};
    preview.insert(preview.end(), choice.begin(), choice.end());
    print.insert(print.end(), choice.begin(), choice.end());
    preview.insert(preview.end(), {"--out", dir.file("preview-" + std::to_string(job))});
    const int previewed = exit_code(start(preview)), printed = exit_code(start(print));
    ASSERT_EQ(previewed, printed) << ::testing::PrintToString(choice);
    if (printed != 0) continue;  // a range the document has not: refused by both
    ASSERT_TRUE(embosser.wait_file("job-" + std::to_string(job) + ".json"));
    std::string received;
    for (int i = 0; i < 100 && received.find("protocol_errors") == std::string::npos; ++i) {
      received = embosser.file("job-" + std::to_string(job) + ".json");
      if (received.find("protocol_errors") == std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string shown = testing::read_file(dir.file("preview-" + std::to_string(job) + "/preview.json"));
    EXPECT_EQ(pages_and_counts(shown), pages_and_counts(received)) << "case " << job << " " << ::testing::PrintToString(choice);
    EXPECT_NE(pages_and_counts(received), "");
    ++job;
  }
}

}  // namespace
}  // namespace tenji
