#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

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
