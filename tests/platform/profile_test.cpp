#include "platform/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tenji::platform {
namespace {

using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

TEST(ProfileWrite, ChangesOnlyItsKeyAndAddsInTheFilesOwnLineEnds) {
  const std::string by_hand =
      "; written by hand\n[Other]\nten_height=99\n\n[ruk_print]\n; geometry\nten_height=2.50\ngyo_between=6.03\n"
      "\n[After]\nx=1\n";
  std::string replaced = by_hand;
  replaced.replace(replaced.find("ten_height=2.50"), 15, "ten_height=3.18");
  // File before (empty: none), section, key, value, file after.
  const std::tuple<std::string, const char*, const char*, const char*, std::string> cases[] = {
      {"", "RUK_PRINT", "TEN_HEIGHT", "2.22", "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\n"},
      {by_hand, "RUK_PRINT", "TEN_HEIGHT", "3.18", replaced},
      {"[RUK_PRINT]\nA=1\n\n[Next]\nB=2", "ruk_print", "C", "3", "[RUK_PRINT]\nA=1\nC=3\n\n[Next]\nB=2"},
      {"[RUK_PRINT]\nA=1\n\n[Next]\nB=2", "Third", "D", "4", "[RUK_PRINT]\nA=1\n\n[Next]\nB=2\n[Third]\nD=4\n"},
  };
  for (const auto& [before, section, key, value, after] : cases) {
    TempDir dir;
    if (!before.empty()) write_file(dir.file("a.ini"), before);
    ASSERT_TRUE(write_profile_string(section, key, value, dir.file("a.ini"))) << key;
    EXPECT_EQ(read_file(dir.file("a.ini")), after) << key;
  }
  TempDir dir;  // text that would break the format is refused, and no file made
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "1\r\n[X]", dir.file("r.ini")));
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "C=PL", "1", dir.file("r.ini")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST(ProfileFiles, ASymlinkIsWrittenThroughAndStaysALink) {
  TempDir dir;
  write_file(dir.file("real.ini"), "[RUK_PRINT]\r\nCPL=32\r\n");
  std::filesystem::create_symlink("real.ini", dir.file("link.ini"));
  ASSERT_TRUE(write_profile_strings("RUK_PRINT", {{"CPL", "40"}, {"LPP", "20"}}, dir.file("link.ini")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ini")));
  EXPECT_EQ(read_file(dir.file("real.ini")), "[RUK_PRINT]\r\nCPL=40\r\nLPP=20\r\n");
}

TEST(ProfileFiles, UnfitFilesAreRefusedUnreadWithinASecond) {
  TempDir dir;
  // 1 MiB is read, a byte more is not.
  const std::string head = "[RUK_PRINT]\r\nCPL=40\r\n";
  write_file(dir.file("limit.ini"), head + std::string(1048576 - head.size(), ';'));
  const ProfileValues at_limit = read_profile_values("RUK_PRINT", {"CPL"}, 8, dir.file("limit.ini"));
  EXPECT_EQ(at_limit.file, FileCheck::ok);
  EXPECT_EQ(at_limit.values[0], std::optional<std::string>("40"));
  write_file(dir.file("big.ini"), head + std::string(1048577 - head.size(), ';'));
  ASSERT_EQ(::mkfifo(dir.file("fifo.ini").c_str(), 0600), 0);
  const std::pair<std::string, FileCheck> cases[] = {
      {dir.file("big.ini"), FileCheck::too_large}, {"/dev/zero", FileCheck::not_a_file},
      {dir.file("fifo.ini"), FileCheck::not_a_file}, {dir.path(), FileCheck::not_a_file},
      {dir.file("none.ini"), FileCheck::missing}};
  for (const auto& [path, check] : cases) {
    const auto start = std::chrono::steady_clock::now();
    const ProfileValues v = read_profile_values("RUK_PRINT", {"CPL"}, 8, path);
    EXPECT_EQ(v.file, check) << path;
    EXPECT_FALSE(v.values[0]) << path;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    EXPECT_EQ(write_profile_string("RUK_PRINT", "CPL", "1", path), check == FileCheck::missing) << path;
  }
}

// A save killed at any instant leaves the old file or the new one, whole,
// and the next save clears what the killed one left.
TEST(ProfileFiles, ASaveKilledAtAnyInstantLeavesAWholeFile) {
  TempDir dir;
  const std::string path = dir.file("s.ini");
  auto keys = [](const char* value) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int k = 0; k < 16; ++k) entries.emplace_back("KEY" + std::to_string(k), value);
    return entries;
  };
  ASSERT_TRUE(write_profile_strings("RUK_PRINT", keys("old"), path));
  std::mt19937 rng(7);
  for (int kill = 0; kill < 30; ++kill) {
    const pid_t saver = ::fork();
    if (saver == 0)
      for (int i = 0;; ++i) write_profile_strings("RUK_PRINT", keys(i % 2 ? "old" : "new"), path);
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    const std::string text = read_file(path);
    EXPECT_NE(text.find("=new") == std::string::npos, text.find("=old") == std::string::npos) << "kill " << kill;
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), 16) << "kill " << kill;
  }
  ASSERT_TRUE(write_profile_strings("RUK_PRINT", keys("old"), path));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
}

}  // namespace
}  // namespace tenji::platform
