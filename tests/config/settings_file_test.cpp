#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/atomic_file.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

TEST(SettingsFile, DefaultFileIsTheSixteenKeysInOrderWithCrlf) {
  TempDir dir;
  const auto path = dir.file("emboss.ini");
  ASSERT_TRUE(write_default_settings(path));
  EXPECT_EQ(read_file(path),
            "[RUK_PRINT]\r\n"
            "TEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.03\r\n"
            "TEN_KIND=1\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=22\r\n"
            "START_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\n"
            "COM_PORT=0\r\nCOM_SPEED=0\r\nCOM_FLOW=1\r\nBACK_PITCH=6\r\n");
}

TEST(SettingsFile, ReadsThroughSevenCharactersAndStopsAtTheFirstNonDigit) {
  TempDir dir;
  const auto path = dir.file("s.ini");
  write_file(path,
             "[RUK_PRINT]\r\nEND_X=230.1234\r\nTEN_HEIGHT=6mm\r\nTEN_WIDTH=wide\r\n"
             "CPL=12345678\r\nLPP=-7\r\n");
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_DOUBLE_EQ(s.END_X, 230.123);
  EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, 6.0);
  EXPECT_DOUBLE_EQ(s.TEN_WIDTH, 0.0);
  EXPECT_EQ(s.CPL, 1234567);
  EXPECT_EQ(s.LPP, -7);
  EXPECT_EQ(s.COM_FLOW, 0);  // missing key
}

TEST(SettingsFile, MissingOrEmptyFileReadsAsZero) {
  TempDir dir;
  PrintSettings s = default_print_settings();
  load_all_keys(dir.file("none.ini"), s);
  EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, 0.0);
  EXPECT_EQ(s.BACK_PITCH, 0);
  EXPECT_EQ(s.COM_FLOW, 0);
  write_file(dir.file("empty.ini"), "");
  s = default_print_settings();
  load_all_keys(dir.file("empty.ini"), s);
  EXPECT_EQ(s.CPL, 0);
}

TEST(SettingsFile, DefaultsRoundTripThroughLoadAllKeys) {
  TempDir dir;
  const auto path = dir.file("s.ini");
  ASSERT_TRUE(write_default_settings(path));
  PrintSettings s;
  s.PITCH_X = 5;  // never stored, so loading leaves it alone
  load_all_keys(path, s);
  const PrintSettings d = default_print_settings();
  EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, d.TEN_HEIGHT);
  EXPECT_DOUBLE_EQ(s.END_Y, d.END_Y);
  EXPECT_EQ(s.CPL, 32);
  EXPECT_EQ(s.LPP, 22);
  EXPECT_EQ(s.COM_FLOW, 1);
  EXPECT_EQ(s.BACK_PITCH, 6);
  EXPECT_EQ(s.PITCH_X, 5);
}

std::set<std::string> keys_in(const std::string& text) {
  std::set<std::string> keys;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    const auto eq = line.find('=');
    if (eq != std::string::npos) keys.insert(line.substr(0, eq));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return keys;
}

TEST(SettingsFile, BrsFileGetsTheThirteenLayoutKeysAndLoadingItLeavesPortKeys) {
  TempDir dir;
  const auto brs = dir.file("mine.brs");
  PrintSettings s = default_print_settings();
  s.TEN_HEIGHT = 2.2225;
  s.GYO_BETWEEN = 1.905;
  s.COM_PORT = 3;
  ASSERT_TRUE(save_layout_keys(brs, s));
  const std::string text = read_file(brs);
  EXPECT_EQ(keys_in(text).size(), 13u);
  EXPECT_EQ(keys_in(text).count("COM_PORT"), 0u);
  EXPECT_NE(text.find("TEN_HEIGHT=2.22\r\n"), std::string::npos);
  EXPECT_NE(text.find("GYO_BETWEEN=1.91\r\n"), std::string::npos);
  EXPECT_NE(text.find("START_X=0.0\r\n"), std::string::npos);

  PrintSettings loaded;
  loaded.COM_PORT = 7;
  loaded.COM_SPEED = 2;
  loaded.COM_FLOW = 2;
  load_layout_keys(brs, loaded);
  EXPECT_EQ(loaded.COM_PORT, 7);
  EXPECT_EQ(loaded.COM_SPEED, 2);
  EXPECT_EQ(loaded.COM_FLOW, 2);
  EXPECT_DOUBLE_EQ(loaded.TEN_HEIGHT, 2.22);
  EXPECT_EQ(loaded.BACK_PITCH, 6);
}

TEST(SettingsFile, PortKeysWriteOnlyTheirThreeKeys) {
  TempDir dir;
  const auto path = dir.file("s.ini");
  ASSERT_TRUE(write_default_settings(path));
  const std::string before = read_file(path);
  ASSERT_TRUE(save_port_keys(path, 15, 3, 2));
  int port = -1, speed = -1, flow = -1;
  load_port_keys(path, port, speed, flow);
  EXPECT_EQ(port, 15);
  EXPECT_EQ(speed, 3);
  EXPECT_EQ(flow, 2);
  std::string expected = before;
  expected.replace(expected.find("COM_PORT=0"), 10, "COM_PORT=15");
  expected.replace(expected.find("COM_SPEED=0"), 11, "COM_SPEED=3");
  expected.replace(expected.find("COM_FLOW=1"), 10, "COM_FLOW=2");
  EXPECT_EQ(read_file(path), expected);
}

TEST(SettingsFile, EveryWriterReportsAFailedWrite) {
  TempDir dir;
  const auto path = dir.file("missing-dir/s.ini");
  EXPECT_FALSE(write_default_settings(path));
  EXPECT_FALSE(save_layout_keys(path, default_print_settings()));
  EXPECT_FALSE(save_port_keys(path, 0, 0, 1));

#if !defined(_WIN32)  // our own profile layer's writes; Windows writes through its own functions
  // One key failing among many is still a failure.
  const auto ok_path = dir.file("s.ini");
  int writes = 0;
  platform::set_file_write_fault([&writes](std::size_t written) {
    if (written == 0) ++writes;
    return writes != 3;
  });
  EXPECT_FALSE(save_layout_keys(ok_path, default_print_settings()));
  platform::set_file_write_fault({});
#endif
}

TEST(SettingsPath, IsTheExecutablesDirectoryAndBaseNameWithIni) {
  EXPECT_EQ(settings_path_for_executable("D:\\tools\\emboss.exe"), "D:\\tools\\emboss.ini");
  EXPECT_EQ(settings_path_for_executable("/opt/tenji/tenjiprint"), "/opt/tenji/tenjiprint.ini");
  EXPECT_EQ(settings_path_for_executable("/opt/t.v2/run.bin"), "/opt/t.v2/run.ini");
}

TEST(SettingsPath, FallsBackToTheConfigHomeOnlyForAnUnwritableDirectoryWithoutAFile) {
  SettingsPathProbe probe;
  probe.config_home = "/home/u/.config";
  bool exists = false, writable = false;
  probe.file_exists = [&](const std::string&) { return exists; };
  probe.directory_writable = [&](const std::string&) { return writable; };

  EXPECT_EQ(choose_settings_path("/usr/bin/tenjiprint", probe), "/home/u/.config/tenjiprint/tenjiprint.ini");
  exists = true;
  EXPECT_EQ(choose_settings_path("/usr/bin/tenjiprint", probe), "/usr/bin/tenjiprint.ini");
  exists = false;
  writable = true;
  EXPECT_EQ(choose_settings_path("/usr/bin/tenjiprint", probe), "/usr/bin/tenjiprint.ini");
}

TEST(SettingsPath, EnsureNeverChangesAnExistingFile) {
  std::string path;
  ASSERT_TRUE(ensure_settings_file(path));
  ASSERT_FALSE(path.empty());
  // Whatever is there now must survive a second call untouched.
  ASSERT_TRUE(platform::write_profile_string(SETTINGS_SECTION, "EXTRA_TEST_KEY", "1", path));
  const std::string before = read_file(path);
  std::string again;
  ASSERT_TRUE(ensure_settings_file(again));
  EXPECT_EQ(again, path);
  EXPECT_EQ(read_file(path), before);
  std::remove(path.c_str());
}

TEST(Steps, RoundHalvesUpAndTruncateNegativesTowardZero) {
  EXPECT_EQ(mm_to_steps(2.22, VERTICAL_STEP_MM), 7);
  EXPECT_EQ(mm_to_steps(2.07, HORIZONTAL_STEP_MM), 6);
  EXPECT_EQ(mm_to_steps(10.47, VERTICAL_STEP_MM), 33);
  EXPECT_EQ(mm_to_steps(10.36, HORIZONTAL_STEP_MM), 30);
  EXPECT_EQ(mm_to_steps(0.0, VERTICAL_STEP_MM), 0);
  EXPECT_EQ(mm_to_steps(-1.4 * VERTICAL_STEP_MM, VERTICAL_STEP_MM), 0);
  EXPECT_EQ(mm_to_steps(-1.6, 1.0), -1);
  EXPECT_EQ(mm_to_steps(-2.6, 1.0), -2);
  EXPECT_EQ(mm_to_steps(1e300, 1.0), INT_MAX);
  EXPECT_EQ(mm_to_steps(-1e300, 1.0), INT_MIN);
  EXPECT_EQ(mm_to_steps(0.0, 0.0), 0);  // NaN quotient
}

}  // namespace
}  // namespace tenji
