#include "config/dot_spacing_dialog.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "config/settings_file.h"
#include "platform/atomic_file.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/dialog_qt.h"

namespace tenji {
namespace {

using D = DotSpacingDialog;
using tenji::testing::FakeUiServices;
using tenji::testing::read_file;
using tenji::testing::TempDir;
using tenji::testing::write_file;

class SpacingDialog : public ::testing::Test {
 protected:
  void SetUp() override { write_default_settings(path); }
  int run(std::function<void(D&)> work) {
    D dialog(nullptr, path);
    ui::set_dialog_shown_hook([&](ui::Dialog& shown) {
      if (&shown == &dialog) work(dialog);
      else shown.end_dialog(ui::IDCANCEL);  // a printing window opened by 印刷
    });
    return dialog.do_modal();
  }
  std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const auto& b : services.boxes) out.push_back(b.text);
    return out;
  }
  TempDir dir;
  std::string path = dir.file("s.ini");
  FakeUiServices services;
};

TEST_F(SpacingDialog, ShowsTheDefaultsAndOkGivesTheirCounts) {
  std::vector<std::string> seen;
  EXPECT_EQ(run([&](D& d) {
              for (int id : {D::ID_TEN_HEIGHT, D::ID_TEN_WIDTH, D::ID_MASU, D::ID_GYO, D::ID_SHOW_TEN_HEIGHT,
                             D::ID_SHOW_TEN_WIDTH, D::ID_SHOW_MASU, D::ID_SHOW_GYO, D::ID_TEN_KIND, D::ID_PAPER,
                             D::ID_START_X, D::ID_START_Y, D::ID_END_X, D::ID_END_Y, D::ID_CAPACITY})
                seen.push_back(d.item_text(id));
              d.press(D::ID_OK);
            }),
            1);
  EXPECT_EQ(seen, (std::vector<std::string>{"2.22", "2.07", "3.11", "6.03", "2.22", "2.07", "3.11", "6.03", "中",
                                            "Ｂ５", "0.0", "0.0", "230.1", "165.4", "32マス × 22行"}));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].caption, "マス数・行数の提示");
  EXPECT_EQ(services.boxes[0].text, capacity_message(32, 22));
}

TEST_F(SpacingDialog, A4AndItsFullAreaGiveFortyByTwentyFour) {
  run([](D& d) {
    d.set_cur_sel(D::ID_PAPER, 0);
    d.set_item_text(D::ID_END_X, "251.4");
    d.set_item_text(D::ID_END_Y, "206.8");
    d.press(D::ID_OK);
  });
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_EQ(s.CPL, 40);
  EXPECT_EQ(s.LPP, 24);
  EXPECT_EQ(s.PAPER_SIZE, 0);
}

TEST_F(SpacingDialog, TypedSpacingsAreShownAndStoredAsWholeSteps) {
  std::string shown, capacity;
  run([&](D& d) {
    d.set_item_text(D::ID_TEN_HEIGHT, "");
    QTest::keyClicks(ui::dialog_item(d, D::ID_TEN_HEIGHT), "2");
    shown = d.item_text(D::ID_SHOW_TEN_HEIGHT);
    d.set_item_text(D::ID_TEN_WIDTH, "5");
    d.set_item_text(D::ID_MASU, "7");
    d.set_item_text(D::ID_GYO, "8");
    capacity = d.item_text(D::ID_CAPACITY);
    d.press(D::ID_OK);
  });
  EXPECT_EQ(shown, "1.91");
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, 1.91);
  EXPECT_DOUBLE_EQ(s.TEN_WIDTH, 4.84);
  EXPECT_DOUBLE_EQ(s.MASU_BETWEEN, 6.91);
  EXPECT_DOUBLE_EQ(s.GYO_BETWEEN, 7.94);
  EXPECT_EQ(capacity, std::to_string(s.CPL) + "マス × " + std::to_string(s.LPP) + "行");
}

TEST_F(SpacingDialog, OnlyTheFirstFailingCheckIsToldAndNothingIsSaved) {
  const std::string before = read_file(path);
  std::string capacity;
  EXPECT_EQ(run([&](D& d) {
              d.set_item_text(D::ID_MASU, "9");
              d.set_item_text(D::ID_END_X, "230.2");
              capacity = d.item_text(D::ID_CAPACITY);
              d.press(D::ID_OK);
              d.set_item_text(D::ID_MASU, "3.11");
              d.press(D::ID_OK);
              d.set_item_text(D::ID_END_X, "230.1");
              d.set_item_text(D::ID_START_Y, "165.4");  // start equal to end
              d.press(D::ID_OK);
              d.press(D::ID_CANCEL);
            }),
            2);
  EXPECT_EQ(capacity, "—");
  EXPECT_EQ(messages(), (std::vector<std::string>{"マス間の値が範囲内ではありません。",
                                                  "印刷領域 Ｘ座標終了点の値が範囲内ではありません。",
                                                  "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。"}));
  EXPECT_EQ(services.boxes[0].icon, platform::MessageIcon::warning);
  EXPECT_EQ(read_file(path), before);
}

TEST_F(SpacingDialog, BrsFilesHoldTheLayoutKeysOnly) {
  const std::string brs = dir.file("mine.brs");
  services.next_file = brs;
  run([](D& d) {
    d.set_item_text(D::ID_GYO, "7");
    d.press(D::ID_SAVE);
    d.press(D::ID_CANCEL);
  });
  EXPECT_EQ(services.filters.back(), "*.brs|*.brs|*.*|*.*||");
  const std::string text = read_file(brs);
  EXPECT_NE(text.find("GYO_BETWEEN=6.99\r\n"), std::string::npos);
  EXPECT_EQ(text.find("COM_"), std::string::npos);
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_DOUBLE_EQ(s.GYO_BETWEEN, 6.03);  // the settings file is not written

  // Loading a set without BACK_PITCH: the next ＯＫ stores 0.
  write_file(brs, "[RUK_PRINT]\r\nTEN_HEIGHT=3.18\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.03\r\n"
                  "TEN_KIND=2\r\nPAPER_SIZE=1\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\n");
  run([](D& d) {
    d.press(D::ID_LOAD);
    d.press(D::ID_OK);
  });
  load_all_keys(path, s);
  EXPECT_EQ(s.BACK_PITCH, 0);
  EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, 3.17);  // ten steps: 3.175 mm
  EXPECT_EQ(s.TEN_KIND, 2);
  EXPECT_EQ(s.COM_FLOW, 1);  // port keys untouched

  services.next_file = dir.file("missing.brs");
  run([](D& d) {
    d.press(D::ID_LOAD);
    d.press(D::ID_CANCEL);
  });
  EXPECT_EQ(services.boxes.back().text, "設定ファイルを開けませんでした。");
}

TEST_F(SpacingDialog, PrintSavesFirstAndCancelKeepsWhatPrintSaved) {
  services.next_file.reset();  // the printing window's file dialog is cancelled
  EXPECT_EQ(run([](D& d) {
              d.set_item_text(D::ID_TEN_WIDTH, "2.42");
              d.press(D::ID_PRINT);
              d.press(D::ID_CANCEL);
            }),
            2);
  EXPECT_EQ(services.filters, std::vector<std::string>{"*.NRK|*.nrk|*.*|*.*||"});
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_DOUBLE_EQ(s.TEN_WIDTH, 2.42);
}

TEST_F(SpacingDialog, AnUnknownDotSizeSelectsNothingAndIsStoredAsMinusOne) {
  save_layout_keys(path, [] {
    PrintSettings s = default_print_settings();
    s.TEN_KIND = 5;
    s.START_X = 123456.0;  // hand-edited, too long for its field
    return s;
  }());
  std::string start;
  run([&](D& d) {
    EXPECT_EQ(d.cur_sel(D::ID_TEN_KIND), -1);
    start = d.item_text(D::ID_START_X);
    d.set_item_text(D::ID_START_X, "0.0");
    d.press(D::ID_OK);
  });
  EXPECT_EQ(start, "123456");
  PrintSettings s;
  load_all_keys(path, s);
  EXPECT_EQ(s.TEN_KIND, -1);
}

TEST_F(SpacingDialog, AFailedSaveIsToldAndTheDialogStaysOpen) {
  bool open = false;
  run([&](D& d) {
    platform::set_file_write_fault([](std::size_t) { return false; });  // the disk is full
    d.press(D::ID_OK);
    platform::set_file_write_fault({});
    open = !d.ended();
    d.press(D::ID_CANCEL);
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(messages().back(), "設定ファイルに書き込めませんでした。");
}

TEST_F(SpacingDialog, EscapeWritesNothing) {
  const std::string before = read_file(path);
  EXPECT_EQ(run([](D& d) {
              d.set_item_text(D::ID_TEN_HEIGHT, "3");
              QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape);
            }),
            2);
  EXPECT_EQ(read_file(path), before);
}

}  // namespace
}  // namespace tenji
