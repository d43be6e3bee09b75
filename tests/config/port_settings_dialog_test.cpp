#include "config/port_settings_dialog.h"

#include <QTest>

#include <gtest/gtest.h>

#include "config/settings_file.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/dialog_qt.h"

namespace tenji {
namespace {

using tenji::testing::FakeUiServices;
using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

class PortDialog : public ::testing::Test {
 protected:
  // Runs the dialog; `work` sees it on screen and ends it.
  int run(std::function<void(PortSettingsDialog&)> work) {
    PortSettingsDialog dialog(nullptr, path);
    ui::set_dialog_shown_hook([&](ui::Dialog&) { work(dialog); });
    return dialog.do_modal();
  }
  TempDir dir;
  std::string path = dir.file("s.ini");
  FakeUiServices services;
};

TEST_F(PortDialog, ShowsTheStoredPortAndSpeedAndOkAlwaysWritesXonXoff) {
  write_default_settings(path);
  save_port_keys(path, 4, 3, 2);
  int port = -1, speed = -1;
  EXPECT_EQ(run([&](PortSettingsDialog& d) {
              port = d.cur_sel(1009);
              speed = d.cur_sel(1010);
              d.set_cur_sel(1009, 15);
              d.press(1012);
            }),
            1);
  EXPECT_EQ(port, 4);
  EXPECT_EQ(speed, 3);
  int p = 0, s = 0, f = 0;
  load_port_keys(path, p, s, f);
  EXPECT_EQ(p, 15);
  EXPECT_EQ(s, 3);
  EXPECT_EQ(f, 1);
}

TEST_F(PortDialog, AStoredIndexOutsideTheListSelectsNothingAndOkWritesMinusOne) {
  write_default_settings(path);
  save_port_keys(path, 16, -1, 1);
  run([](PortSettingsDialog& d) { d.press(1012); });
  int p = 0, s = 0, f = 0;
  load_port_keys(path, p, s, f);
  EXPECT_EQ(p, -1);
  EXPECT_EQ(s, -1);
}

TEST_F(PortDialog, CancelAndEscapeWriteNothing) {
  write_default_settings(path);
  save_port_keys(path, 2, 1, 2);
  const std::string before = read_file(path);
  EXPECT_EQ(run([](PortSettingsDialog& d) {
              d.set_cur_sel(1009, 7);
              d.press(1008);
            }),
            2);
  EXPECT_EQ(run([](PortSettingsDialog& d) { QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape); }), 2);
  EXPECT_EQ(read_file(path), before);
}

TEST_F(PortDialog, AFileWithoutPortKeysOpensWithCom1And1200AndOkAddsThem) {
  write_file(path, "[RUK_PRINT]\r\nCPL=32\r\n");
  run([](PortSettingsDialog& d) {
    EXPECT_EQ(d.item_text(1009), "ｃｏｍ１");
    EXPECT_EQ(d.item_text(1010), "1200");
    d.press(1012);
  });
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCPL=32\r\nCOM_PORT=0\r\nCOM_SPEED=0\r\nCOM_FLOW=1\r\n");
}

TEST_F(PortDialog, AFailedWriteIsToldAndTheDialogStaysOpen) {
  path = dir.file("no-such-dir/s.ini");
  int pressed_ok = 0;
  EXPECT_EQ(run([&](PortSettingsDialog& d) {
              d.press(1012);
              pressed_ok = d.ended() ? 1 : 2;
              d.press(1008);
            }),
            2);
  EXPECT_EQ(pressed_ok, 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, "設定ファイルに書き込めませんでした。");
  EXPECT_EQ(services.boxes[0].caption, "");  // the application title
}

}  // namespace
}  // namespace tenji
