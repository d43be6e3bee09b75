#include "desktop/port_settings_dialog.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using namespace resources;

class PortDialog : public ::testing::Test {
 protected:
  int run(const std::function<void(ui::Dialog&)>& work) {
    PortSettingsDialog dialog(nullptr, path);
    return tenji::testing::run_dialog(dialog, work);
  }
  // Opens the dialog on `keys`, notes both lists, picks `port` (unless -1), presses OK: the file then.
  std::string ok(const std::string& keys, int port = -1) {
    tenji::testing::write_file(path, head + keys);
    run([&](ui::Dialog& d) {
      shown = d.item_text(IDC_PORT_LIST) + "/" + d.item_text(IDC_SPEED_LIST);
      if (port >= 0) d.set_cur_sel(IDC_PORT_LIST, port);
      d.press(IDC_SETTINGS_OK);
    });
    return tenji::testing::read_file(path);
  }
  tenji::testing::TempDir dir;
  std::string path = dir.file("s.ini"), head = "[RUK_PRINT]\r\nCPL=32\r\n", shown;
  tenji::testing::FakeUiServices services;
};

TEST_F(PortDialog, OkWritesTheShownChoiceAndAlwaysXonXoff) {
  EXPECT_EQ(ok("COM_PORT=4\r\nCOM_SPEED=3\r\nCOM_FLOW=2\r\n", 15),
            head + "COM_PORT=15\r\nCOM_SPEED=3\r\nCOM_FLOW=1\r\n");
  EXPECT_EQ(shown, "ｃｏｍ５/9600");
  EXPECT_EQ(ok(""), head + "COM_PORT=0\r\nCOM_SPEED=0\r\nCOM_FLOW=1\r\n");
  EXPECT_EQ(shown, "ｃｏｍ１/1200");  // for missing keys
}

TEST_F(PortDialog, AFailedWriteIsToldAndTheDialogStaysOpen) {
  path = dir.file("no-such-dir/s.ini");
  bool open_after_ok = false;
  run([&](ui::Dialog& d) {
    d.press(IDC_SETTINGS_OK);
    open_after_ok = !d.ended();
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_TRUE(open_after_ok);
  EXPECT_EQ(services.boxes,
            (std::vector<tenji::testing::FakeUiServices::Box>{
                {"設定ファイルに書き込めませんでした。\n" + path, "", platform::MessageIcon::warning}}));
}

}  // namespace
}  // namespace tenji
