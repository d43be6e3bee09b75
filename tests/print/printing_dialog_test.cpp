#include "print/printing_dialog.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "platform/debug_output.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"
#include "serial/serial_driver.h"
#include "support/fake_comm.h"
#include "support/fake_ui_services.h"
#include "support/expected_streams.h"
#include "support/nrk_builder.h"
#include "support/temp_dir.h"
#include "ui/dialog_qt.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::FakeCommApi;
using tenji::testing::FakeUiServices;
using tenji::testing::TempDir;
using tenji::testing::write_file;

class PrintingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::set_debug_output([](std::string_view) {});
    write_default_settings(settings);
    fake.device(1);
    // What each dialog does when it appears, by template; unlisted ones
    // cancel, but the printing window waits for its job.
    ui::set_dialog_shown_hook([this](ui::Dialog& d) {
      shown.push_back(d.template_id());
      auto it = on_shown.find(d.template_id());
      if (it != on_shown.end())
        it->second(d);
      else if (d.template_id() != 139)
        d.end_dialog(ui::IDCANCEL);
    });
  }
  void TearDown() override {
    close_all_ports();
    platform::set_debug_output({});
  }

  std::string document(const std::vector<std::string>& lines) {
    const std::string path = dir.file("doc.NRK");
    write_file(path, encode_nrk(lines));
    services.next_file = path;
    return path;
  }
  void copies(const std::string& text) {
    on_shown[140] = [text](ui::Dialog& d) {
      d.set_item_text(1016, text);
      d.press(1);
    };
  }
  int print() {
    PrintingDialog dialog(nullptr, settings);
    return dialog.do_modal();
  }
  std::string sent() { return fake.locked([&] { return fake.device(1).line; }); }

  TempDir dir;
  std::string settings = dir.file("s.ini");
  FakeUiServices services;
  FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  std::vector<int> shown;
  std::map<int, std::function<void(ui::Dialog&)>> on_shown;
};

TEST_F(PrintingWindow, ACancelledFileDialogClosesWithTwoAndPrintsNothing) {
  EXPECT_EQ(print(), 2);
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_TRUE(shown.empty());  // the printing window never appeared
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(PrintingWindow, AFileThatIsNoDocumentIsTold) {
  write_file(dir.file("x.NRK"), "not a document");
  services.next_file = dir.file("x.NRK");
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, "NRK形式のファイルではありません。");
  EXPECT_EQ(services.boxes[0].caption, "");
  EXPECT_EQ(services.boxes[0].icon, platform::MessageIcon::none);
}

TEST_F(PrintingWindow, ADocumentOfExactlyCplByLppPrintsWithoutWarning) {
  document(std::vector<std::string>(22, std::string(32, '\xA1')));
  copies("1");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(shown.front(), 140);  // no warning
  EXPECT_EQ(sent().size(), planned_stream_bytes(default_print_settings(), [] {
              BrailleDocument d;
              for (int i = 0; i < 22; ++i) d.append_line(make_braille_line(std::string(32, '\xA1')));
              return d;
            }(), 1));
}

TEST_F(PrintingWindow, AnEmptyDocumentFits) {
  document({});
  copies("1");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(shown.front(), 140);
}

TEST_F(PrintingWindow, ALineTooLongShowsTheFourNumbers) {
  document({std::string(33, '\xA1'), "\xA1", "\xA2"});
  std::vector<std::string> numbers;
  on_shown[138] = [&](ui::Dialog& d) {
    for (int id : {1019, 1021, 1020, 1022}) numbers.push_back(d.item_text(id));
    d.press(2);  // 点字ファイルを編集する
  };
  EXPECT_EQ(print(), 2);
  EXPECT_EQ(numbers, (std::vector<std::string>{"32", "22", "33", "3"}));
  EXPECT_EQ(sent(), "");

  shown.clear();
  on_shown[138] = [](ui::Dialog& d) { d.press(1); };  // そのまま印刷する
  copies("1");
  EXPECT_EQ(print(), 1);
  // The printing window itself may not appear: a short job can end first.
  EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 2), (std::vector<int>{138, 140}));
}

TEST_F(PrintingWindow, CopiesAreAskedForAndEmptyOrZeroPrintsNothing) {
  document({"\xA1"});
  for (const char* nothing : {"", "0", "000"}) {
    copies(nothing);
    EXPECT_EQ(print(), 2) << nothing;
  }
  EXPECT_TRUE(fake.calls.empty());
  copies("2");
  EXPECT_EQ(print(), 1);
  const std::string copy = bytes({0x1B, 0x1B, 0x44, 0x31}) + std::string(18, 'x') + bytes({0x0D, 0x0C, 0x1B, 0x1B, 0x47});
  EXPECT_EQ(sent().size(), 3 + 2 * copy.size() + 1);
}

TEST_F(PrintingWindow, TheCopiesFieldStartsAtOneAndTakesThreeDigits) {
  document({"\xA1"});
  std::string start, typed;
  on_shown[140] = [&](ui::Dialog& d) {
    start = d.item_text(1016);
    d.set_item_text(1016, "");
    QTest::keyClicks(ui::dialog_item(d, 1016), "9999");
    typed = d.item_text(1016);
    d.press(2);
  };
  EXPECT_EQ(print(), 2);
  EXPECT_EQ(start, "1");
  EXPECT_EQ(typed, "999");
}

TEST_F(PrintingWindow, APortThatFailsIsToldUnderPrintError) {
  fake.device(1).modem_status = 0;  // CTS off
  document({"\xA1"});
  copies("1");
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, "点字プリンターの接続を確認してください。");
  EXPECT_EQ(services.boxes[0].caption, "印刷エラー");
  EXPECT_EQ(services.boxes[0].icon, platform::MessageIcon::error);
}

TEST_F(PrintingWindow, CancelStopsAfterTheCellAndTheWindowWaitsForTheJob) {
  std::vector<std::string> lines(22, std::string(32, '\xDF'));
  document(lines);
  copies("5");
  fake.locked([&] { return fake.device(1).hold = true; });  // the job waits on a full queue
  fake.tick_step = 0;  // and the held line never counts as stalled
  bool disabled = false, open_after_escape = false;
  auto wait_for = [this](auto condition) {
    for (int i = 0; i < 5000 && !fake.locked(condition); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  on_shown[139] = [&](ui::Dialog& d) {
    wait_for([&] { return fake.device(1).queue.size() == 1050; });  // the job waits for the line
    d.press(PrintingDialog::ID_CANCEL);
    disabled = !d.item_enabled(PrintingDialog::ID_CANCEL);
    QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape);
    ui::dialog_window(d)->close();
    QApplication::processEvents();
    open_after_escape = !d.ended();
    wait_for([&] { return fake.device(1).purges == 1; });
    fake.locked([&] { return fake.device(1).hold = false; });
  };
  EXPECT_EQ(print(), 1);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(open_after_escape);
  EXPECT_EQ(sent(), "\x0D");  // what was queued is discarded; CR follows
  EXPECT_TRUE(services.boxes.empty());
}

TEST_F(PrintingWindow, PitchTestAtTheOriginSendsTheFullCell) {
  on_shown[142] = [](ui::Dialog& d) { d.press(1); };
  PrintingDialog dialog(nullptr, settings);
  dialog.pitch_test_mode = 1;
  EXPECT_EQ(dialog.do_modal(), 1);
  EXPECT_EQ(sent(), tenji::testing::pitch_test_origin_stream());
  EXPECT_EQ(dialog.settings.PITCH_X, 0);
}

TEST_F(PrintingWindow, PitchTestTakesTheTypedPitchesAndCancelLeavesThePortAlone) {
  on_shown[142] = [](ui::Dialog& d) {
    d.set_item_text(1017, "12");
    d.set_item_text(1018, "9999");
    d.press(1);
  };
  PrintingDialog dialog(nullptr, settings);
  dialog.pitch_test_mode = 1;
  EXPECT_EQ(dialog.do_modal(), 1);
  EXPECT_EQ(dialog.settings.PITCH_X, 12);
  EXPECT_EQ(dialog.settings.PITCH_Y, 9999);

  fake.calls.clear();
  on_shown.erase(142);
  PrintingDialog cancelled(nullptr, settings);
  cancelled.pitch_test_mode = 1;
  EXPECT_EQ(cancelled.do_modal(), 2);
  EXPECT_TRUE(fake.calls.empty());
}

}  // namespace
}  // namespace tenji
