#include "desktop/dot_spacing_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "config/settings_file.h"
#include "platform/atomic_file.h"
#include "resources/resource_ids.h"
#include "support/fake_ui_services.h"
#include "support/window_actions.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using namespace resources;
using platform::MessageIcon;
using tenji::testing::read_file;
using Box = tenji::testing::FakeUiServices::Box;

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
  tenji::testing::TempDir dir;
  std::string path = dir.file("s.ini");
  tenji::testing::FakeUiServices services;
};

TEST_F(SpacingDialog, ShowsTheDefaultsAndTypingStopsAtFourAndFiveCharacters) {
  std::vector<std::string> seen, typed;
  run([&](ui::Dialog& d) {
    for (int id : {IDC_TEN_KIND, IDC_PAPER_SIZE, IDC_CAPACITY}) seen.push_back(d.item_text(id));
    for (int id : {IDC_TEN_HEIGHT, IDC_TEN_WIDTH, IDC_MASU_BETWEEN, IDC_GYO_BETWEEN, IDC_START_X, IDC_START_Y,
                   IDC_END_X, IDC_END_Y}) {
      seen.push_back(d.item_text(id));
      d.set_item_text(id, "");
      tenji::testing::type_keys(d, id, "123456");
      typed.push_back(d.item_text(id));
    }
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"中", "Ｂ５", "32マス × 22行", "2.22", "2.07", "3.11", "6.03", "0.0", "0.0",
                                            "230.1", "165.4"}));
  EXPECT_EQ(typed, (std::vector<std::string>{"1234", "1234", "1234", "1234", "12345", "12345", "12345", "12345"}));
}

// 縦点間 typed as ２．５ with the input method on shows and stores whole steps
// of 2.5 mm (8 × 0.3175 = 2.54), and the area's full-width numbers count.
TEST_F(SpacingDialog, FullWidthDigitsAreReadAsTheirNumbers) {
  std::string shown;
  run([&](ui::Dialog& d) {
    for (auto [id, typed] : {std::pair{IDC_TEN_HEIGHT, "２．５"}, {IDC_END_X, "２００．５"}}) {
      d.set_item_text(id, "");
      tenji::testing::type_keys(d, id, typed);
    }
    shown = d.item_text(IDC_SHOW_TEN_HEIGHT);
    d.press(IDC_SETTINGS_OK);
  });
  EXPECT_EQ(shown, "2.54");
  EXPECT_EQ(std::pair(stored().TEN_HEIGHT, stored().END_X), std::pair(2.54, 200.5));
}

// The spacings stored are the displays of whole steps, not what was typed. A
// settings file that cannot be written keeps the dialog open with it all.
TEST_F(SpacingDialog, TypedSpacingsAreStoredAsWholeStepsWithTheirCounts) {
  bool open_after_failed_write = false;
  run([&](ui::Dialog& d) {
    for (auto [id, text] : {std::pair{IDC_TEN_HEIGHT, "2"}, {IDC_TEN_WIDTH, "5"}, {IDC_MASU_BETWEEN, "7"},
                            {IDC_GYO_BETWEEN, "8"}, {IDC_END_X, "251.4"}, {IDC_END_Y, "206.8"}})
      d.set_item_text(id, text);
    d.set_cur_sel(IDC_PAPER_SIZE, 0);
    {
      platform::ScopedHook full(platform::file_write_fault_hook, [](std::size_t) { return false; });
      d.press(IDC_SETTINGS_OK);
    }
    open_after_failed_write = !d.ended();
    d.press(IDC_SETTINGS_OK);
  });
  EXPECT_TRUE(open_after_failed_write);
  const PrintSettings s = stored();
  EXPECT_EQ(std::tuple(s.TEN_HEIGHT, s.TEN_WIDTH, s.MASU_BETWEEN, s.GYO_BETWEEN, s.PAPER_SIZE),
            std::tuple(1.91, 4.84, 6.91, 7.94, 0));
  // (206.8 + 6.91) / 11.75 = 18 cells; (251.4 + 7.94 - 1.91) / 11.76 = 21 lines.
  EXPECT_EQ(services.boxes,
            (std::vector<Box>{{"設定ファイルに書き込めませんでした。\n" + path, "", MessageIcon::warning},
                              {"　 １行に印刷できるマス数：18マス\n１ページに印刷できる行数：21行",
                               "マス数・行数の提示", MessageIcon::none}}));
}

// OK and 印刷 tell only the first failing check and save nothing. 印刷 saves
// before the printing window opens, and Cancel afterwards keeps it.
TEST_F(SpacingDialog, OnlyTheFirstFailingCheckIsToldAndPrintSavesFirst) {
  const std::string before = read_file(path);
  std::string capacity;
  bool unchanged = false;
  std::vector<int> kinds_when_printing;  // the printing window opens once, after the save
  services.before_file_dialog = [&] { kinds_when_printing.push_back(stored().TEN_KIND); };
  run([&](ui::Dialog& d) {
    d.set_item_text(IDC_MASU_BETWEEN, "9");
    d.set_item_text(IDC_END_X, "230.2");
    capacity = d.item_text(IDC_CAPACITY);
    d.press(IDC_SETTINGS_OK);
    d.set_item_text(IDC_MASU_BETWEEN, "3.11");
    d.press(IDC_SPACING_PRINT);
    unchanged = read_file(path) == before;
    d.set_item_text(IDC_END_X, "230.1");
    d.set_cur_sel(IDC_TEN_KIND, 2);
    d.press(IDC_SPACING_PRINT);  // the printing window's file dialog is cancelled
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(capacity, "—");
  EXPECT_TRUE(unchanged);
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"マス間の値が範囲内ではありません。", "", MessageIcon::warning},
                                              {"印刷領域 Ｘ座標終了点の値が範囲内ではありません。", "", MessageIcon::warning},
                                              {"　 １行に印刷できるマス数：32マス\n１ページに印刷できる行数：22行",
                                               "マス数・行数の提示", MessageIcon::none}}));
  EXPECT_EQ(kinds_when_printing, std::vector<int>{2});
  EXPECT_EQ(stored().TEN_KIND, 2);
}

TEST_F(SpacingDialog, SaveWritesTheShownValuesWithoutCheckingThemAndLoadTellsAFileThatWillNotOpen) {
  const std::string brs = dir.file("mine.brs"), missing = dir.file("missing.brs");
  services.next_file = brs;
  run([&](ui::Dialog& d) {
    d.set_item_text(IDC_GYO_BETWEEN, "7");
    d.set_item_text(IDC_END_X, "300.0");  // beyond the paper: saved all the same
    d.set_cur_sel(IDC_TEN_KIND, 2);
    d.press(IDC_SAVE_SETTINGS);
    services.next_file = missing;
    d.press(IDC_LOAD_SETTINGS);
    d.press(IDC_SETTINGS_CANCEL);
  });
  EXPECT_EQ(services.filters, std::vector<std::string>(2, "*.brs|*.brs|*.*|*.*||"));
  EXPECT_EQ(read_file(brs),
            "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.99\r\n"
            "TEN_KIND=2\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=26\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=300.0\r\n"
            "END_Y=165.4\r\nBACK_PITCH=6\r\n");
  EXPECT_EQ(stored().GYO_BETWEEN, 6.03);  // the settings file is not written
  EXPECT_EQ(services.boxes, (std::vector<Box>{{"設定ファイルを開けませんでした。\n" + missing +
                                                   "（ファイルがありません）",
                                               "", MessageIcon::none}}));
}

TEST_F(SpacingDialog, LoadTakesTheLayoutKeys) {
  services.next_file = dir.file("set.brs");
  tenji::testing::write_file(*services.next_file,
                             "[RUK_PRINT]\r\nTEN_HEIGHT=3.18\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\n"
                             "GYO_BETWEEN=6.03\r\nTEN_KIND=5\r\nPAPER_SIZE=1\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\n"
                             "END_X=230.1\r\nEND_Y=165.4\r\n");
  run([](ui::Dialog& d) {
    d.press(IDC_LOAD_SETTINGS);
    d.press(IDC_SETTINGS_OK);
  });
  const PrintSettings s = stored();
  // Ten steps (3.175 mm); a dot size outside the list selects nothing and is
  // stored as -1; no BACK_PITCH in the set: 0; the port keys untouched.
  EXPECT_EQ(std::tuple(s.TEN_HEIGHT, s.TEN_KIND, s.BACK_PITCH, s.COM_FLOW), std::tuple(3.17, -1, 0, 1));
}

}  // namespace
}  // namespace tenji
