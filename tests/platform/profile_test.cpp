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

#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace tenji::platform {
namespace {

using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

TEST(ProfileWrite, CreatesFileWithSectionAndCrlfLines) {
  TempDir dir;
  const auto path = dir.file("a.ini");
  ASSERT_TRUE(write_profile_string("RUK_PRINT", "TEN_HEIGHT", "2.22", path));
  ASSERT_TRUE(write_profile_string("RUK_PRINT", "TEN_WIDTH", "2.07", path));
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\n");
}

TEST(ProfileWrite, ReplacesOnlyTheOneKeyInAWindowsStyleFile) {
  TempDir dir;
  const auto path = dir.file("win.ini");
  const std::string before =
      "; written by hand\n"
      "[Other]\n"
      "ten_height=99\n"
      "\n"
      "[ruk_print]\n"
      "; geometry\n"
      "ten_height=2.50\n"
      "gyo_between=6.03\n"
      "\n"
      "[After]\n"
      "x=1\n";
  write_file(path, before);
  ASSERT_TRUE(write_profile_string("RUK_PRINT", "TEN_HEIGHT", "3.18", path));
  std::string expected = before;
  expected.replace(expected.find("ten_height=2.50"), 15, "ten_height=3.18");
  EXPECT_EQ(read_file(path), expected);
}

TEST(ProfileWrite, NewKeyGoesAfterTheSectionsLastKeyWithTheFilesLineEnding) {
  TempDir dir;
  const auto path = dir.file("win.ini");
  write_file(path, "[RUK_PRINT]\nA=1\n\n[Next]\nB=2");
  ASSERT_TRUE(write_profile_string("ruk_print", "C", "3", path));
  ASSERT_TRUE(write_profile_string("Third", "D", "4", path));
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\nA=1\nC=3\n\n[Next]\nB=2\n[Third]\nD=4\n");
}

TEST(ProfileRead, CutsToTheBufferAndMatchesNamesWithoutCase) {
  TempDir dir;
  const auto path = dir.file("r.ini");
  write_file(path, "[Other]\r\nEND_X=1\r\n[ruk_print]\r\n end_x = 230.1234 \r\nQ=\"quoted\"\r\n");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "END_X", "", 8, path), "230.123");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "END_X", "", 100, path), "230.1234");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "Q", "", 100, path), "quoted");
  EXPECT_EQ(read_profile_string("Other", "end_x", "", 8, path), "1");
}

TEST(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
  TempDir dir;
  const auto path = dir.file("r.ini");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "CPL", "", 8, path), "");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "CPL", "abcdefghij", 8, path), "abcdefg");
  write_file(path, "[RUK_PRINT]\r\n; CPL=5\r\nLPP=22\r\n");
  EXPECT_EQ(read_profile_string("RUK_PRINT", "CPL", "", 8, path), "");
  EXPECT_EQ(read_profile_string("NONE", "LPP", "", 8, path), "");
}

TEST(ProfileWrite, RefusesTextThatWouldBreakTheFormat) {
  TempDir dir;
  const auto path = dir.file("r.ini");
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "1\r\n[X]", path));
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "C=PL", "1", path));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProfileWrite, ReportsAFileThatCannotBeWritten) {
  TempDir dir;
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "32", dir.file("no/such/dir/x.ini")));
  // A directory where the file should be.
  std::filesystem::create_directory(dir.file("isdir.ini"));
  EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "32", dir.file("isdir.ini")));
}

TEST(ProfileWrite, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryBehind) {
  TempDir dir;
  const auto path = dir.file("keep.ini");
  const std::string old = "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nCPL=32\r\n";
  write_file(path, old);
  {
    ScopedHook full(file_write_fault_hook, [](std::size_t written) { return written == 0; });  // after a chunk
    EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "40", path));
  }
  EXPECT_EQ(read_file(path), old);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
  EXPECT_TRUE(write_profile_string("RUK_PRINT", "CPL", "40", path));
  EXPECT_EQ(read_profile_string("RUK_PRINT", "CPL", "", 8, path), "40");
}

}  // namespace
}  // namespace tenji::platform

namespace tenji::platform {
namespace {

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
  write_file(dir.file("big.ini"), "[RUK_PRINT]\r\n" + std::string(PROFILE_MAX_BYTES, ';'));
  ASSERT_EQ(::mkfifo(dir.file("fifo.ini").c_str(), 0600), 0);
  const std::pair<std::string, FileCheck> cases[] = {{dir.file("big.ini"), FileCheck::too_large},
                                                     {"/dev/zero", FileCheck::not_a_file},
                                                     {dir.file("fifo.ini"), FileCheck::not_a_file},
                                                     {dir.path(), FileCheck::not_a_file},
                                                     {dir.file("none.ini"), FileCheck::missing}};
  for (const auto& [path, check] : cases) {
    const auto start = std::chrono::steady_clock::now();
    const ProfileValues v = read_profile_values("RUK_PRINT", {"CPL"}, 8, path);
    EXPECT_EQ(v.file, check) << path;
    EXPECT_FALSE(v.values[0]) << path;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    if (check != FileCheck::missing) {
      EXPECT_FALSE(write_profile_string("RUK_PRINT", "CPL", "1", path)) << path;
    }
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
    if (saver == 0) {
      for (int i = 0;; ++i) write_profile_strings("RUK_PRINT", keys(i % 2 ? "old" : "new"), path);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    const std::string text = read_file(path);
    const bool all_old = text.find("=new") == std::string::npos, all_new = text.find("=old") == std::string::npos;
    EXPECT_TRUE(all_old != all_new) << "kill " << kill;
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), 16) << "kill " << kill;
  }
  ASSERT_TRUE(write_profile_strings("RUK_PRINT", keys("old"), path));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace tenji::platform
