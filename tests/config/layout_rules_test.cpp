#include "config/layout_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tenji {
namespace {

using F = LayoutFields;
constexpr F DEFAULTS{2.22, 2.07, 3.11, 6.03, 0.0, 0.0, 230.1, 165.4, 1};

TEST(LayoutRules, EveryLimitOfEveryFieldAndPaperIsInclusiveAndTheFirstFailingCheckIsTold) {
  // field, paper selection, lowest and highest value accepted, its check.
  const std::tuple<double F::*, int, double, double, int> limits[] = {
      {&F::ten_height, 1, 2.0, 5.08, 1}, {&F::ten_width, 1, 2.0, 5.0, 2},   {&F::masu_between, 1, 3.0, 7.0, 3},
      {&F::gyo_between, 1, 6.0, 8.0, 4}, {&F::start_x, 1, 0.0, 230.1, 5},   {&F::start_y, 1, 0.0, 165.4, 6},
      {&F::end_x, 1, 0.0, 230.1, 7},     {&F::end_y, 1, 0.0, 165.4, 8},     {&F::start_x, 0, 0.0, 251.4, 5},
      {&F::start_y, 0, 0.0, 206.8, 6},   {&F::end_x, 0, 0.0, 251.4, 7},     {&F::end_y, 0, 0.0, 206.8, 8},
      {&F::end_x, -1, 0.0, 251.4, 7},  // no paper selected: Ａ４'s area
  };
  for (auto [field, paper, lowest, highest, check] : limits) {
    // A start at the paper's edge, or an end at 0, passes its own check and
    // then meets the other end of the area: check 9.
    const bool start = field == &F::start_x || field == &F::start_y, end = field == &F::end_x || field == &F::end_y;
    const std::pair<double, int> values[] = {
        {lowest - 0.01, check}, {lowest, end ? 9 : 0}, {highest, start ? 9 : 0}, {highest + 0.01, check}};
    for (auto [value, expected] : values) {
      F f = DEFAULTS;
      f.paper_selection = paper;
      f.end_x = paper == 1 ? 230.1 : 251.4;
      f.end_y = paper == 1 ? 165.4 : 206.8;
      f.*field = value;
      if (expected == check)  // every later check failing too: the earliest is reported
        for (int later = check; later < 8; ++later) f.*std::get<0>(limits[later]) = -1;
      EXPECT_EQ(first_failed_check(f), expected) << "check " << check << " paper " << paper << " value " << value;
    }
  }
}

TEST(LayoutRules, EachCheckHasItsOwnMessage) {
  const char* const messages[] = {
      "縦点間の値が範囲内ではありません。", "横点間の値が範囲内ではありません。",
      "マス間の値が範囲内ではありません。", "行間の値が範囲内ではありません。",
      "印刷領域 Ｘ座標開始点の値が範囲内ではありません。", "印刷領域 Ｙ座標開始点の値が範囲内ではありません。",
      "印刷領域 Ｘ座標終了点の値が範囲内ではありません。", "印刷領域 Ｙ座標終了点の値が範囲内ではありません。",
      "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。",
  };
  for (int check = 1; check <= 9; ++check) EXPECT_STREQ(check_message(check), messages[check - 1]) << check;
  EXPECT_EQ(capacity_message(32, 22), "　 １行に印刷できるマス数：32マス\n１ページに印刷できる行数：22行");
}

TEST(LayoutRules, NumbersAreShownAsWholeStepsInSevenCharacters) {
  const std::tuple<double, double, const char*> spacings[] = {
      {5.08, VERTICAL_STEP_MM, "5.08"},   {2.22, VERTICAL_STEP_MM, "2.22"}, {2.07, HORIZONTAL_STEP_MM, "2.07"},
      {3.11, HORIZONTAL_STEP_MM, "3.11"}, {6.03, VERTICAL_STEP_MM, "6.03"}};
  for (auto [typed, step, shown] : spacings) EXPECT_EQ(fit_number(quantise(typed, step), 2), shown) << typed;
  const std::tuple<double, int, const char*> long_values[] = {{1234.567, 2, "1234.57"}, {12345.678, 2, "12345.7"},
                                                             {1234567.1, 2, "1234567"}, {123456789.0, 1, "1234567"},
                                                             {-123.456, 2, "-123.46"}};
  for (auto [value, decimals, text] : long_values) EXPECT_EQ(fit_number(value, decimals), text);
}

TEST(LayoutRules, CapacityCountsWholeCellsAndLinesLessTheBackPitch) {
  const std::tuple<double, double, double, int, int, int> cases[] = {
      // START_X and START_Y, END_X, END_Y, BACK_PITCH -> CPL, LPP
      {0, 230.1, 165.4, 6, 32, 22},    // the defaults
      {0, 224.4, 165.4, 0, 32, 22},    // 22 lines fit without the back pitch...
      {0, 224.4, 165.4, 6, 32, 21},    // ...but not with its 1.91 mm
      {0, 230.1, 160.55, 6, 31, 22},   // one cell short of 32: 32 * 5.18 - 3.11 = 162.65
      {300, 230.1, 165.4, 6, 0, 0},    // an area upside down
  };
  for (auto [start, end_x, end_y, back, cpl, lpp] : cases) {
    PrintSettings s = default_print_settings();
    s.START_X = s.START_Y = start;
    s.END_X = end_x, s.END_Y = end_y, s.BACK_PITCH = back;
    compute_capacity(s);
    EXPECT_EQ(std::pair(s.CPL, s.LPP), std::pair(cpl, lpp)) << end_x << " " << end_y << " " << back;
  }
  PrintSettings zero;  // divisors of 0 give 0
  compute_capacity(zero);
  EXPECT_EQ(std::pair(zero.CPL, zero.LPP), std::pair(0, 0));
}

}  // namespace
}  // namespace tenji
