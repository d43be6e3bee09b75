#include "desktop/dot_spacing_dialog.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "config/settings_file.h"
#include "platform/atomic_file.h"
#include "document/braille_source.h"
#include "resources/resource_ids.h"
#include "support/dialog_runner.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/qt/dialog_qt.h"

namespace tenji {
namespace {

using namespace resources;
using platform::MessageIcon;
using tenji::testing::FakeUiServices;
using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;
using Box = FakeUiServices::Box;

class SpacingDialog : public ::testing::Test {
 protected:
  void SetUp() override { write_default_settings(path); }
  int run(const std::function<void(ui::Dialog&)>& work) {
    DotSpacingDialog dialog(nullptr, path);
    return tenji::testing::run_dialog(dialog, work);
  }
  PrintSettings stored() const {
    PrintSettings s;
    load_all_keys(path, s);
    return s;
  }
  TempDir dir;
  std::string path = dir.file("s.ini");
  FakeUiServices services;
};

TEST_F(SpacingDialog, ShowsTheDefaultsAndOkTellsTheirCounts) {
  std::vector<std::string> seen;
  EXPECT_EQ(run([&](ui::Dialog& d) {
              for (int id : {IDC_TEN_HEIGHT, IDC_TEN_WIDTH, IDC_MASU_BETWEEN, IDC_GYO_BETWEEN, IDC_SHOW_TEN_HEIGHT,
                             IDC_SHOW_TEN_WIDTH, IDC_SHOW_MASU_BETWEEN, IDC_SHOW_GYO_BETWEEN, IDC_TEN_KIND,
                             IDC_PAPER_SIZE, IDC_START_X, IDC_START_Y, IDC_END_X, IDC_END_Y, IDC_CAPACITY})
                seen.push_back(d.item_text(id));
              d.press(IDC_SETTINGS_OK);
            }),
            1);
  EXPECT_EQ(seen, (std::vector<std::string>{"2.22", "2.07", "3.11", "6.03", "2.22", "2.07", "3.11", "6.03", "中",
                                            "Ｂ５", "0.0", "0.0", "230.1", "165.4", "32マス × 22行"}));
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"　 １行に印刷できるマス数：32マス\n１ページに印刷できる行数：22行",
                                               "マス数・行数の提示", MessageIcon::none}}));
}

TEST_F(SpacingDialog, TypedSpacingsAreShownAndStoredAsWholeStepsWithTheirCounts) {
  std::string shown, capacity;
  run([&](ui::Dialog& d) {
    d.set_item_text(IDC_TEN_HEIGHT, "");
    QTest::keyClicks(ui::dialog_item(d, IDC_TEN_HEIGHT), "2");
    shown = d.item_text(IDC_SHOW_TEN_HEIGHT);
    d.set_item_text(IDC_TEN_WIDTH, "5");
    d.set_item_text(IDC_MASU_BETWEEN, "7");
    d.set_item_text(IDC_GYO_BETWEEN, "8");
    d.set_cur_sel(IDC_PAPER_SIZE, 0);
    d.set_item_text(IDC_END_X, "251.4");
    d.set_item_text(IDC_END_Y, "206.8");
    capacity = d.item_text(IDC_CAPACITY);
    d.press(IDC_SETTINGS_OK);
  });
  EXPECT_EQ(shown, "1.91");
  const PrintSettings s = stored();
  EXPECT_EQ(std::tuple(s.TEN_HEIGHT, s.TEN_WIDTH, s.MASU_BETWEEN, s.GYO_BETWEEN, s.PAPER_SIZE),
            std::tuple(1.91, 4.84, 6.91, 7.94, 0));
  // (206.8 + 6.91) / 11.75 = 18 cells; (251.4 + 7.94 - 1.91) / 11.76 = 21 lines.
  EXPECT_EQ(std::pair(s.CPL, s.LPP), std::pair(18, 21));
  EXPECT_EQ(capacity, "18マス × 21行");
}

TEST_F(SpacingDialog, OnlyTheFirstFailingCheckIsToldWithItsIconAndNothingIsSaved) {
  const std::string before = read_file(path);
  std::string capacity;
  EXPECT_EQ(run([&](ui::Dialog& d) {
              d.set_item_text(IDC_MASU_BETWEEN, "9");
              d.set_item_text(IDC_END_X, "230.2");
              capacity = d.item_text(IDC_CAPACITY);
              d.press(IDC_SETTINGS_OK);
              d.set_item_text(IDC_MASU_BETWEEN, "3.11");
              d.press(IDC_SPACING_PRINT);  // 印刷 validates too
              d.press(IDC_SETTINGS_CANCEL);
            }),
            2);
  EXPECT_EQ(capacity, "—");
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"マス間の値が範囲内ではありません。", "", MessageIcon::warning},
                                              {"印刷領域 Ｘ座標終了点の値が範囲内ではありません。", "", MessageIcon::warning}}));
  EXPECT_EQ(read_file(path), before);
}

TEST_F(SpacingDialog, SaveWritesTheShownValuesWithoutCheckingThem) {
  const std::string brs = dir.file("mine.brs");
  services.next_file = brs;
  run([](ui::Dialog& d) {
    d.set_item_text(IDC_GYO_BETWEEN, "7");
    d.set_item_text(IDC_END_X, "300.0");  // beyond the paper: saved all the same
    d.set_cur_sel(IDC_TEN_KIND, 2);
    d.press(IDC_SAVE_SETTINGS);
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(services.filters.back(), "*.brs|*.brs|*.*|*.*||");
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(read_file(brs),
            "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.99\r\n"
            "TEN_KIND=2\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=26\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=300.0\r\n"
            "END_Y=165.4\r\nBACK_PITCH=6\r\n");
  EXPECT_EQ(stored().GYO_BETWEEN, 6.03);  // the settings file is not written
}

TEST_F(SpacingDialog, LoadTakesTheLayoutKeysAndTellsAFileThatWillNotOpen) {
  const std::string brs = dir.file("set.brs");
  write_file(brs, "[RUK_PRINT]\r\nTEN_HEIGHT=3.18\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.03\r\n"
                  "TEN_KIND=2\r\nPAPER_SIZE=1\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\n");
  services.next_file = brs;
  run([](ui::Dialog& d) {
    d.press(IDC_LOAD_SETTINGS);
    d.press(IDC_SETTINGS_OK);
  });
  const PrintSettings s = stored();
  // Ten steps (3.175 mm); no BACK_PITCH in the set: 0; the port keys untouched.
  EXPECT_EQ(std::tuple(s.TEN_HEIGHT, s.TEN_KIND, s.BACK_PITCH, s.COM_FLOW), std::tuple(3.17, 2, 0, 1));

  services.boxes.clear();
  services.next_file = dir.file("missing.brs");
  run([](ui::Dialog& d) {
    d.press(IDC_LOAD_SETTINGS);
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"設定ファイルを開けませんでした。\n" + dir.file("missing.brs") +
                                                   "（ファイルがありません）",
                                               "", MessageIcon::none}}));
}

TEST_F(SpacingDialog, PrintSavesBeforeThePrintingDialogOpensAndCancelKeepsIt) {
  double width_when_printing = 0;
  services.before_file_dialog = [&] { width_when_printing = stored().TEN_WIDTH; };
  EXPECT_EQ(run([](ui::Dialog& d) {
              d.set_item_text(IDC_TEN_WIDTH, "2.42");
              d.press(IDC_SPACING_PRINT);  // the printing dialog's file dialog is cancelled
              d.press(IDC_SETTINGS_CANCEL);
            }),
            2);
  EXPECT_EQ(services.filters, std::vector<std::string>{BRAILLE_FILE_FILTER});
  EXPECT_EQ(width_when_printing, 2.42);
  EXPECT_EQ(stored().TEN_WIDTH, 2.42);
}

TEST_F(SpacingDialog, TypingIsLimitedToFourAndFiveCharacters) {
  std::vector<std::string> typed;
  run([&](ui::Dialog& d) {
    for (int id : {IDC_TEN_HEIGHT, IDC_TEN_WIDTH, IDC_MASU_BETWEEN, IDC_GYO_BETWEEN, IDC_START_X, IDC_START_Y,
                   IDC_END_X, IDC_END_Y}) {
      d.set_item_text(id, "");
      QTest::keyClicks(ui::dialog_item(d, id), "123456");
      typed.push_back(d.item_text(id));
    }
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(typed, (std::vector<std::string>{"1234", "1234", "1234", "1234", "12345", "12345", "12345", "12345"}));
}

TEST_F(SpacingDialog, AnUnknownDotSizeSelectsNothingAndIsStoredAsMinusOne) {
  PrintSettings s = default_print_settings();
  s.TEN_KIND = 5;
  s.START_X = 123456.0;  // hand-edited, too long for its field
  save_layout_keys(path, s);
  std::string start;
  int kind = 0;
  run([&](ui::Dialog& d) {
    kind = d.cur_sel(IDC_TEN_KIND);
    start = d.item_text(IDC_START_X);
    d.set_item_text(IDC_START_X, "0.0");
    d.press(IDC_SETTINGS_OK);
  });
  EXPECT_EQ(std::pair(kind, start), std::pair(-1, std::string("123456")));
  EXPECT_EQ(stored().TEN_KIND, -1);
}

TEST_F(SpacingDialog, AFailedSaveIsToldAndTheDialogStaysOpen) {
  bool open = false;
  run([&](ui::Dialog& d) {
    {
      platform::ScopedHook full(platform::file_write_fault_hook, [](std::size_t) { return false; });
      d.press(IDC_SETTINGS_OK);
    }
    open = !d.ended();
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(services.boxes.back().text, "設定ファイルに書き込めませんでした。\n" + path);
}

TEST_F(SpacingDialog, EscapeWritesNothing) {
  const std::string before = read_file(path);
  EXPECT_EQ(run([](ui::Dialog& d) {
              d.set_item_text(IDC_TEN_HEIGHT, "3");
              QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape);
            }),
            2);
  EXPECT_EQ(read_file(path), before);
}

}  // namespace
}  // namespace tenji
