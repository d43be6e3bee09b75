#include "desktop/printing_dialog.h"

#include <QApplication>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "print/emboss_job.h"
#include "resources/resource_ids.h"
#include "support/dialog_runner.h"
#include "support/expected_streams.h"
#include "support/fake_comm.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/qt/dialog_qt.h"

namespace tenji {
namespace {

using namespace resources;
using platform::MessageIcon;
using tenji::testing::write_file;

class PrintingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    write_default_settings(settings);
    fake.device(1);
  }
  void TearDown() override { close_all_ports(); }

  void document(const std::vector<std::string>& lines) {
    write_file(dir.file("doc.NRK"), encode_nrk(lines));
    services.next_file = dir.file("doc.NRK");
  }
  void copies(const std::string& text) {
    on_shown[IDD_COPIES] = [text](ui::Dialog& d) {
      d.set_item_text(IDC_COPIES, text);
      d.press(IDOK);
    };
  }
  // Runs a printing dialog; the dialogs it opens do what `on_shown` says for
  // their template, or are cancelled. The printing window waits for its job.
  int print(int pitch_test_mode = 0) {
    PrintingDialog dialog(nullptr, settings);
    dialog.pitch_test_mode = pitch_test_mode;
    return tenji::testing::run_dialog(
        dialog,
        [&](ui::Dialog& d) {
          shown.push_back(IDD_PRINTING);
          if (on_shown.count(IDD_PRINTING)) on_shown[IDD_PRINTING](d);
        },
        [&](ui::Dialog& d) {
          shown.push_back(d.template_id());
          if (on_shown.count(d.template_id()))
            on_shown[d.template_id()](d);
          else
            d.end_dialog(ui::IDCANCEL);
        });
  }
  std::string sent() { return fake.locked([&] { return fake.device(1).line; }); }

  tenji::testing::TempDir dir;
  std::string settings = dir.file("s.ini");
  tenji::testing::FakeUiServices services;
  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  std::vector<int> shown;
  std::map<int, std::function<void(ui::Dialog&)>> on_shown;
};

TEST_F(PrintingWindow, EarlyEndsCloseWithTwoBeforeTheWindowAppears) {
  EXPECT_EQ(print(), 2);  // the file dialog is cancelled
  EXPECT_TRUE(services.boxes.empty());
  write_file(dir.file("x.NRK"), "not a document");
  services.next_file = dir.file("x.NRK");
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(std::tie(services.boxes[0].text, services.boxes[0].caption, services.boxes[0].icon),
            std::tuple("NRK形式のファイルではありません。\n" + dir.file("x.NRK"), "", MessageIcon::none));
  document({"\xA1"});
  for (const char* nothing : {"", "0", "000"}) {
    copies(nothing);
    EXPECT_EQ(print(), 2) << nothing;
  }
  EXPECT_EQ(shown, std::vector<int>(3, IDD_COPIES));  // never the printing window itself
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(PrintingWindow, ExactlyCplByLppPrintsWithoutWarningAndCopiesAreCollated) {
  document(std::vector<std::string>(22, std::string(32, '\xA1')));
  copies("2");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(shown.front(), IDD_COPIES);  // no warning
  // Per copy: dot size, 704 cells of one dot, page end; reset first, CR last.
  EXPECT_EQ(sent().size(), 3u + 2 * (4 + 704 * 18 + 5) + 1);
  document({});
  EXPECT_EQ(print(), 1);  // an empty document fits too
}

TEST_F(PrintingWindow, ALineTooLongShowsTheFourNumbersAndTheUserDecides) {
  document({std::string(33, '\xA1'), "\xA1", "\xA2"});
  std::vector<std::string> numbers;
  on_shown[IDD_FIT_WARNING] = [&](ui::Dialog& d) {
    for (int id : {IDC_FIT_CPL, IDC_FIT_LPP, IDC_FIT_LONGEST_LINE, IDC_FIT_LINE_COUNT}) numbers.push_back(d.item_text(id));
    d.press(IDCANCEL);  // 点字ファイルを編集する
  };
  EXPECT_EQ(print(), 2);
  EXPECT_EQ(numbers, (std::vector<std::string>{"32", "22", "33", "3"}));
  EXPECT_EQ(sent(), "");

  shown.clear();
  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDOK); };  // そのまま印刷する
  copies("1");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 2), (std::vector<int>{IDD_FIT_WARNING, IDD_COPIES}));
  EXPECT_EQ(sent().size(), 3u + 4 + 32 * 18 + 18 + 18 + 5 + 1);  // line 1 cut at CPL
}

// 全ページ印刷 leads to the range step; a range that does not exist keeps
// the step open with what was typed.
TEST_F(PrintingWindow, AllPagesFromTheFitWarningPrintTheChosenRangeFromItsLine) {
  document(std::vector<std::string>(50, "\xA1"));  // pages of 22, 22 and 6 lines
  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDC_FIT_ALL_PAGES); };
  std::vector<std::string> seen;
  bool stayed = false;
  on_shown[IDD_PAGE_RANGE] = [&](ui::Dialog& d) {
    for (int id : {IDC_RANGE_PAGES, IDC_RANGE_FROM, IDC_RANGE_TO, IDC_RANGE_LINE}) seen.push_back(d.item_text(id));
    d.set_item_text(IDC_RANGE_FROM, "2");
    d.set_item_text(IDC_RANGE_TO, "4");
    d.press(IDOK);
    stayed = !d.ended();
    d.set_item_text(IDC_RANGE_TO, "3");
    d.set_item_text(IDC_RANGE_LINE, "3");
    d.press(IDOK);
  };
  copies("1");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"全 3 ページ", "1", "3", "1"}));
  EXPECT_TRUE(stayed);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, "1から3までのページと、開始ページにある行を指定してください。");
  EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 3),
            (std::vector<int>{IDD_FIT_WARNING, IDD_PAGE_RANGE, IDD_COPIES}));
  // Page 2 from its third line (20 lines), then page 3 (6 lines), each with
  // its dot size and page end.
  EXPECT_EQ(sent().size(), 3u + (4 + 20 * 18 + 5) + (4 + 6 * 18 + 5) + 1);
}

TEST_F(PrintingWindow, TypingIsLimitedInTheCopiesAndPitchFields) {
  std::vector<std::string> typed;
  auto type_into = [&](int id, int button) {
    return [&typed, id, button](ui::Dialog& d) {
      typed.push_back(d.item_text(id));  // what the field starts with
      d.set_item_text(id, "");
      QTest::keyClicks(ui::dialog_item(d, id), "98765");
      typed.push_back(d.item_text(id));
      d.press(button);
    };
  };
  document({"\xA1"});
  on_shown[IDD_COPIES] = type_into(IDC_COPIES, IDCANCEL);
  print();
  on_shown[IDD_PITCH_TEST] = type_into(IDC_PITCH_Y, IDCANCEL);
  print(1);
  EXPECT_EQ(typed, (std::vector<std::string>{"1", "987", "0", "9876"}));
}

TEST_F(PrintingWindow, APortThatFailsIsToldUnderPrintErrorWithItsCause) {
  fake.device(1).modem_status = 0;  // CTS off
  document({"\xA1"});
  copies("1");
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(std::tie(services.boxes[0].caption, services.boxes[0].icon), std::tuple("印刷エラー", MessageIcon::error));
  EXPECT_EQ(services.boxes[0].text.substr(0, services.boxes[0].text.find('\n')), "点字プリンターの接続を確認してください。");
}

TEST_F(PrintingWindow, SettingsThatCannotPrintAreToldBeforeAnythingIsSent) {
  document({"\xA1"});
  copies("1");
  write_file(settings, "[RUK_PRINT]\r\nTEN_HEIGHT=nan\r\n");  // every other key is missing
  services.answer = ui::IDCANCEL;
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text.substr(0, services.boxes[0].text.find("TEN_WIDTH")),
            "設定ファイル " + settings + ": 次のキーがありません: ");
  services.answer = ui::IDOK;  // go on (past the fit warning too): the geometry stops it
  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDOK); };
  services.boxes.clear();
  EXPECT_EQ(print(), 2);
  ASSERT_EQ(services.boxes.size(), 2u);
  EXPECT_EQ(services.boxes[1].text, "設定値 TEN_HEIGHT=nan は数ではありません。");
  EXPECT_EQ(services.boxes[1].icon, MessageIcon::warning);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(PrintingWindow, CancelStopsAfterTheCellAndTheWindowWaitsForTheJob) {
  document(std::vector<std::string>(22, std::string(32, '\xDF')));
  copies("5");
  fake.locked([&] { return fake.device(1).hold = true; });  // the job waits on a full queue
  fake.tick_step = 0;  // and the held line never counts as stalled
  bool disabled = false, open_after_escape = false;
  auto wait_for = [this](auto condition) {
    for (int i = 0; i < 5000 && !fake.locked(condition); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  on_shown[IDD_PRINTING] = [&](ui::Dialog& d) {
    wait_for([&] { return fake.device(1).queue.size() == 30; });  // a quarter second at 1200 bit/s
    d.press(IDCANCEL);
    disabled = !d.item_enabled(IDCANCEL);
    QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape);
    ui::dialog_window(d)->close();
    QApplication::processEvents();
    open_after_escape = !d.ended();
    fake.locked([&] { return fake.device(1).hold = false, fake.tick_step = 1; });
  };
  EXPECT_EQ(print(), 1);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(open_after_escape);
  // The cell in progress is finished, then CR: reset, dot size, whole cells.
  EXPECT_EQ((sent().size() - 3 - 4 - 1) % 38, 0u);
  EXPECT_EQ(sent().back(), '\x0D');
  EXPECT_TRUE(services.boxes.empty());
}

// The job's reports come faster than the window shows them; the last one of
// the sending must still reach the window while the line drains.
TEST_F(PrintingWindow, TheStatusFollowsTheJobIntoTheDrain) {
  document({"\xA1", "\xA1", "\xA1"});
  copies("1");
  fake.tick_step = 0;  // the test moves the clock
  std::string while_draining;
  // Driven by a timer, so that the window's own loop delivers the job's
  // reports meanwhile.
  QTimer clock;
  on_shown[IDD_PRINTING] = [&](ui::Dialog& d) {
    const std::size_t total = 3 + 4 + 3 * 18 + 5 + 1;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    QObject::connect(&clock, &QTimer::timeout, [&, total, give_up] {
      // Until every byte is out the clock moves; then it stands still, and
      // the line model still counts some bytes on their way.
      if (fake.locked([&] { return fake.device(1).line.size(); }) < total) {
        fake.locked([&] { return fake.tick += 5; });
        return;
      }
      while_draining = d.item_text(IDC_PRINTING_STATUS);
      if (while_draining.find("3/3行") != std::string::npos || std::chrono::steady_clock::now() > give_up) {
        clock.stop();
        fake.locked([&] { return fake.tick_step = 1; });
      }
    });
    clock.start(1);
  };
  EXPECT_EQ(print(), 1);
  EXPECT_NE(while_draining.find("1/1部  3/3行"), std::string::npos) << while_draining;
}

TEST_F(PrintingWindow, PitchTestSendsTheFullCellAtTheTypedPitchAndCancelLeavesThePortAlone) {
  on_shown[IDD_PITCH_TEST] = [](ui::Dialog& d) { d.press(IDOK); };
  EXPECT_EQ(print(1), 1);
  EXPECT_EQ(sent(), tenji::testing::pitch_test_origin_stream());

  on_shown[IDD_PITCH_TEST] = [](ui::Dialog& d) {
    d.set_item_text(IDC_PITCH_X, "12");
    d.set_item_text(IDC_PITCH_Y, "9999");
    d.press(IDOK);
  };
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  EXPECT_EQ(print(1), 1);
  // The move of the first column at X 12, Y 9999: 1D 58 6F 20 4C.
  EXPECT_EQ(sent().substr(7, 5), tenji::testing::bytes({0x1D, 0x58, 0x6F, 0x20, 0x4C}));

  fake.calls.clear();
  on_shown.erase(IDD_PITCH_TEST);
  EXPECT_EQ(print(1), 2);
  EXPECT_TRUE(fake.calls.empty());
}

}  // namespace
}  // namespace tenji
