#include "desktop/printing_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "resources/resource_ids.h"
#include "support/expected_streams.h"
#include "support/fake_comm.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "support/window_actions.h"

namespace tenji {
namespace {

using namespace resources;
using platform::MessageIcon;
using Box = tenji::testing::FakeUiServices::Box;

class PrintingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    write_default_settings(settings);
    fake.device(1);
  }
  void TearDown() override { close_all_ports(); }

  void document(const std::vector<std::string>& lines) {
    tenji::testing::write_file(dir.file("doc.NRK"), encode_nrk(lines));
    services.next_file = dir.file("doc.NRK");
  }
  // The copies dialog: its text is noted, `keys` are typed over it, then OK.
  void copies(const char* keys) {
    on_shown[IDD_COPIES] = [this, keys](ui::Dialog& d) {
      copies_field = {d.item_text(IDC_COPIES)};
      d.set_item_text(IDC_COPIES, "");
      tenji::testing::type_keys(d, IDC_COPIES, keys);
      copies_field.push_back(d.item_text(IDC_COPIES));
      d.press(IDOK);
    };
  }
  // Runs a printing window; each dialog shown is noted and does what
  // `on_shown` says for its template, or is cancelled (the window waits).
  int print(int pitch_test_mode = 0) {
    PrintingDialog dialog(nullptr, settings);
    dialog.pitch_test_mode = pitch_test_mode;
    auto work = [&](ui::Dialog& d) {
      shown.push_back(d.template_id());
      if (on_shown.count(d.template_id()))
        on_shown[d.template_id()](d);
      else if (d.template_id() != IDD_PRINTING)
        d.end_dialog(ui::IDCANCEL);
    };
    return tenji::testing::run_dialog(dialog, work, work);
  }
  std::string sent() { return fake.locked([&] { return fake.device(1).line; }); }

  tenji::testing::TempDir dir;
  std::string settings = dir.file("s.ini");
  tenji::testing::FakeUiServices services;
  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  std::vector<int> shown;
  std::vector<std::string> copies_field;
  std::map<int, std::function<void(ui::Dialog&)>> on_shown;
};

TEST_F(PrintingWindow, EarlyEndsCloseWithTwoBeforeTheWindowAppears) {
  EXPECT_EQ(print(), 2);  // the file dialog is cancelled, silently
  tenji::testing::write_file(dir.file("x.NRK"), "not a document");
  services.next_file = dir.file("x.NRK");
  EXPECT_EQ(print(), 2);
  EXPECT_EQ(services.boxes,
            (std::vector<Box>{{"NRK形式のファイルではありません。\n" + dir.file("x.NRK"), "", MessageIcon::none}}));
  document({"\xA1"});
  for (const char* nothing : {"", "0a000"}) {
    copies(nothing);
    EXPECT_EQ(print(), 2) << nothing;
  }
  EXPECT_EQ(copies_field, (std::vector<std::string>{"1", "000"}));  // digits only, three at most
  EXPECT_EQ(shown, std::vector<int>(2, IDD_COPIES));  // never the printing window itself
  EXPECT_TRUE(fake.calls.empty());
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

  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDOK); };  // そのまま印刷する
  copies("2");
  EXPECT_EQ(print(), 1);
  // Reset first, CR last; per copy: dot size, line 1 cut at CPL, lines 2 and 3, page end.
  EXPECT_EQ(sent().size(), 3u + 2 * (4 + 32 * 18 + 18 + 18 + 5) + 1);
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
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"1から3までのページと、開始ページにある行を指定してください。", "",
                                               MessageIcon::warning}}));
  EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 3),
            (std::vector<int>{IDD_FIT_WARNING, IDD_PAGE_RANGE, IDD_COPIES}));
  // Page 2 from its third line (20 lines), then page 3 (6 lines), each with
  // its dot size and page end.
  EXPECT_EQ(sent().size(), 3u + (4 + 20 * 18 + 5) + (4 + 6 * 18 + 5) + 1);
}

// With the input method on, digits arrive full-width: each field reads them
// as the number they are, and letters are still refused where only digits go.
TEST_F(PrintingWindow, FullWidthDigitsCountInEveryNumberField) {
  document(std::vector<std::string>(50, "\xA1"));
  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDC_FIT_ALL_PAGES); };
  on_shown[IDD_PAGE_RANGE] = [](ui::Dialog& d) {
    for (auto [id, typed] : {std::pair{IDC_RANGE_FROM, "３"}, {IDC_RANGE_TO, "３"}, {IDC_RANGE_LINE, "５"}}) {
      d.set_item_text(id, "");
      tenji::testing::type_keys(d, id, typed);
    }
    d.press(IDOK);
    if (!d.ended()) d.end_dialog(IDCANCEL);  // a range not read stops here
  };
  copies("２ａ");
  EXPECT_EQ(print(), 1);
  EXPECT_EQ(copies_field.back(), "2");  // as ASCII where only digits go
  // Two copies of page 3 from its fifth line: 2 lines of 6.
  EXPECT_EQ(sent().size(), 3u + 2 * (4 + 2 * 18 + 5) + 1);

  on_shown[IDD_PITCH_TEST] = [](ui::Dialog& d) {
    for (auto [id, typed] : {std::pair{IDC_PITCH_X, "１２"}, {IDC_PITCH_Y, "９９９９"}}) {
      d.set_item_text(id, "");
      tenji::testing::type_keys(d, id, typed);
    }
    d.press(IDOK);
  };
  fake.locked([&] { fake.device(1).line.clear(); });
  EXPECT_EQ(print(1), 1);
  EXPECT_EQ(sent().substr(7, 5), tenji::testing::bytes({0x1D, 0x58, 0x6F, 0x20, 0x4C}));
}

TEST_F(PrintingWindow, APortThatFailsIsToldUnderPrintErrorWithItsCause) {
  fake.device(1).modem_status = 0;  // CTS off
  document({"\xA1"});
  copies("1");
  EXPECT_EQ(print(), 2);
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"点字プリンターの接続を確認してください。\nCOM1（\\\\.\\COM1）のCTSが"
                                               "入っていません（点字プリンターの電源か、ケーブルを確認してください）。",
                                               "印刷エラー", MessageIcon::error}}));
}

TEST_F(PrintingWindow, SettingsThatCannotPrintAreToldBeforeAnythingIsSent) {
  document({"\xA1"});
  copies("1");
  tenji::testing::write_file(settings, "[RUK_PRINT]\r\nTEN_HEIGHT=nan\r\n");  // every other key is missing
  on_shown[IDD_FIT_WARNING] = [](ui::Dialog& d) { d.press(IDOK); };
  for (int answer : {ui::IDCANCEL, ui::IDOK}) {  // OK goes on, past the fit warning too: the geometry stops it
    services.answer = answer;
    EXPECT_EQ(print(), 2);
  }
  EXPECT_EQ(services.filters.size(), 1u);  // Cancel stopped before the file dialog
  ASSERT_EQ(services.boxes.size(), 3u);
  EXPECT_EQ(services.boxes[0].text.substr(0, services.boxes[0].text.find("TEN_WIDTH")),
            "設定ファイル " + settings + ": 次のキーがありません: ");
  EXPECT_EQ(services.boxes[2], (Box{"設定値 TEN_HEIGHT=nan は数ではありません。", "", MessageIcon::warning}));
  services.answer = ui::IDCANCEL;  // the pitch test asks too
  EXPECT_EQ(print(1), 2);
  ASSERT_EQ(services.boxes.size(), 4u);
  EXPECT_EQ(services.boxes[3].text, services.boxes[0].text);
  EXPECT_TRUE(fake.calls.empty());
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
  on_shown[IDD_PRINTING] = [&](ui::Dialog& d) {
    const std::size_t total = 3 + 4 + 3 * 18 + 5 + 1;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    tenji::testing::every(1, [&, total, give_up] {
      // Until every byte is out the clock moves; then it stands still, and
      // the line model still counts some bytes on their way.
      const bool late = std::chrono::steady_clock::now() > give_up;
      if (!late && fake.locked([&] { return fake.device(1).line.size(); }) < total) {
        fake.locked([&] { return fake.tick += 5; });
        return true;
      }
      while_draining = d.item_text(IDC_PRINTING_STATUS);
      if (while_draining.find("3/3行") != std::string::npos || late) {
        fake.locked([&] { return fake.tick_step = 1; });
        return false;
      }
      return true;
    });
  };
  EXPECT_EQ(print(), 1);
  EXPECT_NE(while_draining.find("1/1部  3/3行"), std::string::npos) << while_draining;
}

// Cancel lets the job finish what it started: until it has, the window
// stays, and Escape and the close box wait with it.
TEST_F(PrintingWindow, AfterCancelEscapeAndTheCloseBoxWaitForTheJob) {
  document({"\xA1\xA1", "\xA1\xA1"});
  copies("1");
  fake.locked([&] { return fake.tick_step = 0; });  // the clock stands while the line is held
  fake.device(1).hold = true;
  bool disabled = false, open_after_escape = false;
  on_shown[IDD_PRINTING] = [&](ui::Dialog& d) {
    d.press(IDCANCEL);
    disabled = !d.item_enabled(IDCANCEL);
    tenji::testing::press_escape(d, [&] {
      tenji::testing::close_window(d);
      open_after_escape = d.visible() && !d.ended();
      fake.locked([&] {
        fake.device(1).hold = false;
        return fake.tick_step = 1;
      });
    });
  };
  EXPECT_EQ(print(), 1);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(open_after_escape);
  EXPECT_TRUE(services.boxes.empty());
}

TEST_F(PrintingWindow, PitchTestSendsTheCellAtTheTypedPitchAndCancelLeavesThePortAlone) {
  std::string first;
  on_shown[IDD_PITCH_TEST] = [&](ui::Dialog& d) {
    first = d.item_text(IDC_PITCH_X) + "," + d.item_text(IDC_PITCH_Y);
    d.set_item_text(IDC_PITCH_X, "12");
    d.set_item_text(IDC_PITCH_Y, "");
    tenji::testing::type_keys(d, IDC_PITCH_Y, "99999");  // four digits at most
    d.press(IDOK);
  };
  EXPECT_EQ(print(1), 1);
  EXPECT_EQ(first, "0,0");
  // The move of the first column at X 12, Y 9999: 1D 58 6F 20 4C.
  EXPECT_EQ(sent().substr(7, 5), tenji::testing::bytes({0x1D, 0x58, 0x6F, 0x20, 0x4C}));

  fake.calls.clear();
  on_shown.erase(IDD_PITCH_TEST);
  EXPECT_EQ(print(1), 2);
  EXPECT_TRUE(fake.calls.empty());
}

}  // namespace
}  // namespace tenji
