#include "desktop/port_settings_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "resources/resource_ids.h"
#include "support/fake_comm.h"
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

// The machine's ports: COM1 built in, an adapter nobody numbered yet, and
// one that answers to COM5.
class PortDevices : public PortDialog {
 protected:
  void SetUp() override {
    comm.listed = {{1, "/dev/ttyS0", "", "内蔵シリアルポート", "", false},
                   {0, "/dev/ttyUSB0", BY_ID, "FTDI FT232R USB UART", "A50285BI", true},
                   {5, "/dev/ttyACM0", "", "Arduino SA Uno R3", "", true}};
  }
  static constexpr const char* BY_ID = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  void choose(ui::Dialog& d, int list, int index) {
    d.set_cur_sel(list, index);
    d.command(list, ui::CBN_SELCHANGE);
  }
  tenji::testing::FakeCommApi comm;
#ifndef _WIN32
  tenji::testing::ScopedConfigHome home;  // where the COM links are made
#endif
};

TEST_F(PortDevices, TheSelectedNumberSaysWhatIsBehindIt) {
  tenji::testing::write_file(path, head + "COM_PORT=0\r\n");
  std::vector<std::string> said;
  bool assign_shown = false;
  run([&](ui::Dialog& d) {
    said.push_back(d.item_text(IDC_PORT_DEVICE));
    for (int index : {4, 2}) choose(d, IDC_PORT_LIST, index), said.push_back(d.item_text(IDC_PORT_DEVICE));
    assign_shown = d.item_shown(IDC_PORT_ASSIGN);
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(said, (std::vector<std::string>{"ｃｏｍ１: 内蔵シリアルポート", "ｃｏｍ５: USB シリアル Arduino SA Uno R3",
                                            "ｃｏｍ３: 見つかりません"}));
#ifdef _WIN32
  EXPECT_FALSE(assign_shown);  // Windows numbers its ports itself
#else
  EXPECT_TRUE(assign_shown);
#endif
}

#ifndef _WIN32
TEST_F(PortDevices, ABoundAdapterKeepsTheNumberThroughItsByIdName) {
  tenji::testing::write_file(path, head + "COM_PORT=2\r\n");
  std::vector<std::string> seen;
  bool ok_enabled = false;
  std::string after;
  PortSettingsDialog dialog(nullptr, path);
  tenji::testing::run_dialog(
      dialog,
      [&](ui::Dialog& d) {
        d.press(IDC_PORT_ASSIGN);
        after = d.item_text(IDC_PORT_DEVICE);
        d.press(IDC_SETTINGS_CANCEL);
      },
      [&](ui::Dialog& d) {
        ASSERT_EQ(d.template_id(), IDD_PORT_DEVICES);
        seen.push_back(d.item_text(IDC_DEVICES_LABEL));
        seen.push_back(d.item_text(IDC_DEVICE_LIST));  // the adapter without a number comes first to hand
        for (int index : {0, 1, 2}) {
          choose(d, IDC_DEVICE_LIST, index);
          seen.push_back(d.item_text(IDC_DEVICE_LIST) + " | " + d.item_text(IDC_DEVICE_NOTE));
        }
        ok_enabled = d.item_enabled(IDOK);
        comm.listed[1].com_number = 3;  // what the machine lists once the link is made
        d.press(IDOK);
      });
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "ｃｏｍ３ に割り当てる装置(&L)",
                      "/dev/ttyUSB0  USB シリアル FTDI FT232R USB UART (A50285BI)",
                      "/dev/ttyACM0  USB シリアル Arduino SA Uno R3（今は ｃｏｍ５） | /dev/ttyACM0 で割り当てます。",
                      "/dev/ttyS0  内蔵シリアルポート（今は ｃｏｍ１） | /dev/ttyS0 で割り当てます。",
                      std::string("/dev/ttyUSB0  USB シリアル FTDI FT232R USB UART (A50285BI) | ") + BY_ID +
                          " で割り当てます。抜き差ししても ｃｏｍ３ のままです。"}));
  EXPECT_TRUE(ok_enabled);
  EXPECT_EQ(std::filesystem::read_symlink(home.com_link(3)).string(), BY_ID);
  EXPECT_EQ(after, "ｃｏｍ３: USB シリアル FTDI FT232R USB UART (A50285BI)");
}

TEST_F(PortDevices, WithNoDeviceFoundOnlyCancelIsLeft) {
  comm.listed.clear();
  tenji::testing::write_file(path, head + "COM_PORT=2\r\n");
  std::string note;
  bool ok_enabled = true;
  PortSettingsDialog dialog(nullptr, path);
  tenji::testing::run_dialog(
      dialog,
      [&](ui::Dialog& d) {
        d.press(IDC_PORT_ASSIGN);
        d.press(IDC_SETTINGS_CANCEL);
      },
      [&](ui::Dialog& d) {
        note = d.item_text(IDC_DEVICE_NOTE);
        ok_enabled = d.item_enabled(IDOK);
        d.press(IDCANCEL);
      });
  EXPECT_EQ(note, "シリアルポートの装置が見つかりません。USB アダプターをつないでから、もう一度開いてください。");
  EXPECT_FALSE(ok_enabled);
  EXPECT_FALSE(std::filesystem::exists(home.com_link(3)));
}
#endif

}  // namespace
}  // namespace tenji
