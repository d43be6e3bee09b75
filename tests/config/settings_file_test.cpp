#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "document/braille_source.h"
#include "platform/atomic_file.h"
#include "platform/atomic_file_fault.h"
#include "platform/file_path.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

const char* const DEFAULT_FILE =
    "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.03\r\n"
    "TEN_KIND=1\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=22\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\n"
    "COM_PORT=0\r\nCOM_SPEED=0\r\nCOM_FLOW=1\r\nBACK_PITCH=6\r\n";

class SettingsFile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("emboss.ini");
};

TEST_F(SettingsFile, AMissingFileIsMadeWithTheSixteenKeysInOrderAndAnExistingOneKept) {
  ASSERT_TRUE(ensure_settings_file_at(path));
  EXPECT_EQ(read_file(path), DEFAULT_FILE);
  PrintSettings s{.PITCH_X = 5};  // never stored, so loading leaves it alone
  load_all_keys(path, s);
  EXPECT_EQ(std::tuple(s.END_Y, s.BACK_PITCH, s.PITCH_X), std::tuple(165.4, 6, 5));
  write_file(path, "[RUK_PRINT]\r\nCPL=7\r\n");
  ASSERT_TRUE(ensure_settings_file_at(path));
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCPL=7\r\n");
}

TEST_F(SettingsFile, ValuesReadThroughSevenCharactersLikeAtofAndAtoi) {
  write_file(path, "[RUK_PRINT]\r\nEND_X=230.1234\r\nTEN_HEIGHT=6mm\r\nTEN_WIDTH=wide\r\nCPL=12345678\r\nLPP=-7\r\n");
  PrintSettings s = default_print_settings();
  load_all_keys(path, s);
  EXPECT_EQ(std::tuple(s.END_X, s.TEN_HEIGHT, s.TEN_WIDTH, s.CPL, s.LPP, s.COM_FLOW),
            std::tuple(230.123, 6.0, 0.0, 1234567, -7, 0));  // COM_FLOW is missing: 0
}

TEST_F(SettingsFile, LayoutAndPortKeysAreWrittenAndReadAsTheirGroups) {
  PrintSettings s = default_print_settings();
  s.TEN_HEIGHT = 2.2225, s.GYO_BETWEEN = 1.905, s.COM_PORT = 3;
  ASSERT_TRUE(save_layout_keys(path, s));  // a brs file: the thirteen layout keys in order
  const std::string brs =
      "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=1.91\r\n"
      "TEN_KIND=1\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=22\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\n"
      "END_Y=165.4\r\nBACK_PITCH=6\r\n";
  EXPECT_EQ(read_file(path), brs);
  ASSERT_TRUE(save_port_keys(path, 15, 3, 2));
  EXPECT_EQ(read_file(path), brs + "COM_PORT=15\r\nCOM_SPEED=3\r\nCOM_FLOW=2\r\n");
  PrintSettings loaded{.COM_PORT = 7};  // not a layout key: loading the layout leaves it alone
  load_layout_keys(path, loaded);
  EXPECT_EQ(std::tuple(loaded.TEN_HEIGHT, loaded.BACK_PITCH, loaded.COM_PORT), std::tuple(2.22, 6, 7));
  int port = -1, speed = -1, flow = -1;
  load_port_keys(path, port, speed, flow);
  EXPECT_EQ(std::tuple(port, speed, flow), std::tuple(15, 3, 2));
}

TEST_F(SettingsFile, ASaveInterruptedAtAnyStepLeavesTheOldFileWhole) {
  ASSERT_TRUE(write_default_settings(path));
  PrintSettings changed = default_print_settings();
  changed.TEN_HEIGHT = 3.18;
  for (int fail_at = 1; fail_at <= 2; ++fail_at) {  // before and after the bytes reach the temporary file
    int step = 0;
    platform::ScopedHook full(platform::file_write_fault_hook, [&](std::size_t) { return ++step != fail_at; });
    EXPECT_FALSE(save_layout_keys(path, changed)) << fail_at;
    EXPECT_EQ(read_file(path), DEFAULT_FILE) << fail_at;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
  EXPECT_FALSE(save_port_keys(dir.file("missing-dir/s.ini"), 0, 0, 1));
  // The temporaries of a killed save go with the next save; other files stay.
  const std::string killed = platform::temporary_name_for(path);
  for (const std::string& name : {killed, path + ".tmp0123abcd", path + ".tmp-mine", dir.file("other.ini.tmp0123abcd")})
    write_file(name, "left");
  EXPECT_TRUE(save_layout_keys(path, changed));
  EXPECT_FALSE(std::filesystem::exists(killed));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp0123abcd"));
  EXPECT_TRUE(std::filesystem::exists(path + ".tmp-mine"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("other.ini.tmp0123abcd")));
}

TEST(SettingsPath, IsBesideTheExecutableUnlessThatCannotBeWritten) {
  EXPECT_EQ(settings_path_for_executable("D:\\tools\\emboss.exe"), "D:\\tools\\emboss.ini");
  EXPECT_EQ(settings_path_for_executable("/opt/t.v2/run.bin"), "/opt/t.v2/run.ini");
  // The system's folders take no new settings file even where root may write
  // (a package's /usr/bin); one already there is used.
  for (auto [program, exists, writable, chosen] :
       {std::tuple{"/usr/bin/tenjiprint", false, false, "/home/u/.config/tenjiprint/tenjiprint.ini"},
        {"/usr/bin/tenjiprint", true, false, "/usr/bin/tenjiprint.ini"},
        {"/usr/bin/tenjiprint", false, true, "/home/u/.config/tenjiprint/tenjiprint.ini"},
        {"/usr/local/bin/tenjiprint", false, true, "/home/u/.config/tenjiprint/tenjiprint.ini"},
        {"/home/u/tp/tenjiprint", false, true, "/home/u/tp/tenjiprint.ini"},
        {"/home/u/tp/tenjiprint", false, false, "/home/u/.config/tenjiprint/tenjiprint.ini"}}) {
    const SettingsPathProbe probe{[e = exists](const std::string&) { return e; },
                                  [w = writable](const std::string&) { return w; }, "/home/u/.config"};
    EXPECT_EQ(choose_settings_path(program, probe), chosen) << program << exists << writable;
  }
  // Installed under Program Files: %APPDATA%, in Windows' separators.
  const SettingsPathProbe installed{[](const std::string&) { return false; }, [](const std::string&) { return false; },
                                    "C:\\Users\\u\\AppData\\Roaming"};
  EXPECT_EQ(choose_settings_path("C:\\Program Files\\tenjiprint\\tenjiprint.exe", installed),
            "C:\\Users\\u\\AppData\\Roaming\\tenjiprint\\tenjiprint.ini");
}

// Paths are UTF-8 everywhere; on Windows they reach the wide functions (this
// test runs there too, under Wine).
TEST(SettingsPath, AFolderWithAJapaneseNameHoldsTheSettingsAndTheDocument) {
  tenji::testing::TempDir dir;
  const std::string folder = dir.file("点字 設定");
  std::filesystem::create_directory(platform::fs_path(folder));
  const std::string settings = folder + "/tenjiprint.ini";
  ASSERT_TRUE(write_default_settings(settings));
  PrintSettings s;
  EXPECT_TRUE(load_all_keys(settings, s).complete());
  EXPECT_EQ(s.CPL, 32);
  tenji::testing::write_file(folder + "/あいうえお.brf", "A B\n");
  BrailleDocument doc;
  EXPECT_TRUE(read_braille_source(folder + "/あいうえお.brf", doc).ok);
  // A name without a folder is the file in the working folder (Windows'
  // profile functions would look for it in the Windows folder).
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(platform::fs_path(folder));
  PrintSettings relative;
  const bool complete = load_all_keys("tenjiprint.ini", relative).complete();
  std::filesystem::current_path(before);
  EXPECT_TRUE(complete);
  EXPECT_EQ(relative.LPP, 22);
}

TEST(Steps, RoundHalvesUpAndTruncateNegativesTowardZero) {
  const std::tuple<double, double, int> cases[] = {
      {2.22, VERTICAL_STEP_MM, 7}, {10.36, HORIZONTAL_STEP_MM, 30}, {-1.4, 1.0, 0},   {-1.6, 1.0, -1},
      {-2.6, 1.0, -2},             {1e300, 1.0, INT_MAX},           {-1e300, 1.0, INT_MIN}, {0.0, 0.0, 0}};  // NaN: 0
  for (auto [mm, step, steps] : cases) EXPECT_EQ(mm_to_steps(mm, step), steps) << mm << " / " << step;
}

std::string utf16(const std::string& ascii, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

// The same files read on Windows by its own profile functions (this test
// runs there too) and here by ours.
TEST(SettingsEncodings, ReadAsWindowsReadsThem) {
  const std::string crlf = "[RUK_PRINT]\r\nCPL=30\r\nLPP=21\r\n";
  const std::tuple<std::string, bool, int> cases[] = {
      {"\xEF\xBB\xBF" + crlf, true, 21},                      // UTF-8 with a byte-order mark
      {"[RUK_PRINT]\rCPL=30\rLPP=21\r", true, 21},           // CR-only line ends
      {utf16(crlf, false), true, 21},                         // UTF-16 little-endian
      {utf16(crlf, true), true, 21},                          // UTF-16 big-endian
      {"CPL=30\r\nLPP=21\r\n", false, 0},                     // no section
      {"[Other]\nLPP=1\n[ruk_print]\n  lpp = \"21\"  \n", true, 21},  // names without case, spaces, quotes
  };
  testing::TempDir dir;
  for (const auto& [bytes, section, lpp] : cases) {
    testing::write_file(dir.file("s.ini"), bytes);
    PrintSettings s;
    const SettingsRead read = load_all_keys(dir.file("s.ini"), s);
    EXPECT_EQ(read.section, section) << ::testing::PrintToString(bytes);
    EXPECT_EQ(s.LPP, lpp) << ::testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace tenji
