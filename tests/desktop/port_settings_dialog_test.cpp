#include "desktop/port_settings_dialog.h"

#include <QTest>

#include <gtest/gtest.h>

#include "config/settings_file.h"
#include "resources/resource_ids.h"
#include "support/dialog_runner.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/qt/dialog_qt.h"

namespace tenji {
namespace {

using namespace resources;
using tenji::testing::read_file;
using tenji::testing::write_file;

class PortDialog : public ::testing::Test {
 protected:
  int run(const std::function<void(ui::Dialog&)>& work) {
    PortSettingsDialog dialog(nullptr, path);
    return tenji::testing::run_dialog(dialog, work);
  }
  tenji::testing::TempDir dir;
  std::string path = dir.file("s.ini");
  tenji::testing::FakeUiServices services;
};

TEST_F(PortDialog, ShowsTheStoredChoiceAndOkAlwaysWritesXonXoff) {
  write_file(path, "[RUK_PRINT]\r\nCPL=32\r\nCOM_PORT=4\r\nCOM_SPEED=3\r\nCOM_FLOW=2\r\n");
  std::pair<std::string, std::string> shown;
  EXPECT_EQ(run([&](ui::Dialog& d) {
              shown = {d.item_text(IDC_PORT_LIST), d.item_text(IDC_SPEED_LIST)};
              d.set_cur_sel(IDC_PORT_LIST, 15);
              d.press(IDC_SETTINGS_OK);
            }),
            1);
  EXPECT_EQ(shown, std::pair(std::string("ｃｏｍ５"), std::string("9600")));
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCPL=32\r\nCOM_PORT=15\r\nCOM_SPEED=3\r\nCOM_FLOW=1\r\n");
}

TEST_F(PortDialog, MissingKeysShowCom1And1200AndAnIndexOutsideTheListIsStoredAsMinusOne) {
  write_file(path, "[RUK_PRINT]\r\nCPL=32\r\n");
  std::pair<std::string, std::string> shown;
  run([&](ui::Dialog& d) {
    shown = {d.item_text(IDC_PORT_LIST), d.item_text(IDC_SPEED_LIST)};
    d.press(IDC_SETTINGS_OK);
  });
  EXPECT_EQ(shown, std::pair(std::string("ｃｏｍ１"), std::string("1200")));
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCPL=32\r\nCOM_PORT=0\r\nCOM_SPEED=0\r\nCOM_FLOW=1\r\n");
  save_port_keys(path, 16, -1, 1);
  run([](ui::Dialog& d) { d.press(IDC_SETTINGS_OK); });
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCPL=32\r\nCOM_PORT=-1\r\nCOM_SPEED=-1\r\nCOM_FLOW=1\r\n");
}

TEST_F(PortDialog, CancelAndEscapeWriteNothing) {
  write_file(path, "[RUK_PRINT]\r\nCOM_PORT=2\r\nCOM_SPEED=1\r\nCOM_FLOW=2\r\n");
  EXPECT_EQ(run([](ui::Dialog& d) {
              d.set_cur_sel(IDC_PORT_LIST, 7);
              d.press(IDC_SETTINGS_CANCEL);
            }),
            2);
  EXPECT_EQ(run([](ui::Dialog& d) { QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape); }), 2);
  EXPECT_EQ(read_file(path), "[RUK_PRINT]\r\nCOM_PORT=2\r\nCOM_SPEED=1\r\nCOM_FLOW=2\r\n");
}

TEST_F(PortDialog, AFailedWriteIsToldAndTheDialogStaysOpen) {
  path = dir.file("no-such-dir/s.ini");
  bool open_after_ok = false;
  EXPECT_EQ(run([&](ui::Dialog& d) {
              d.press(IDC_SETTINGS_OK);
              open_after_ok = !d.ended();
              d.press(IDC_SETTINGS_CANCEL);
            }),
            2);
  EXPECT_TRUE(open_after_ok);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, "設定ファイルに書き込めませんでした。\n" + path);
  EXPECT_EQ(services.boxes[0].caption, "");  // the application title
}

}  // namespace
}  // namespace tenji
