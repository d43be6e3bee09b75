#include "config/layout_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tenji {
namespace {

constexpr LayoutFields DEFAULTS{2.22, 2.07, 3.11, 6.03, 0.0, 0.0, 230.1, 165.4, 1};

using Field = double LayoutFields::*;

TEST(LayoutRules, EveryLimitOfEveryFieldAndPaperIsInclusive) {
  // field, paper selection, lowest and highest value accepted, its check.
  const std::tuple<Field, int, double, double, int> limits[] = {
      {&LayoutFields::ten_height, 1, 2.0, 5.08, 1},   {&LayoutFields::ten_width, 1, 2.0, 5.0, 2},
      {&LayoutFields::masu_between, 1, 3.0, 7.0, 3},  {&LayoutFields::gyo_between, 1, 6.0, 8.0, 4},
      {&LayoutFields::start_x, 1, 0.0, 230.1, 5},     {&LayoutFields::start_y, 1, 0.0, 165.4, 6},
      {&LayoutFields::end_x, 1, 0.0, 230.1, 7},       {&LayoutFields::end_y, 1, 0.0, 165.4, 8},
      {&LayoutFields::start_x, 0, 0.0, 251.4, 5},     {&LayoutFields::start_y, 0, 0.0, 206.8, 6},
      {&LayoutFields::end_x, 0, 0.0, 251.4, 7},       {&LayoutFields::end_y, 0, 0.0, 206.8, 8},
      {&LayoutFields::end_x, -1, 0.0, 251.4, 7},  // no paper selected: Ａ４'s area
  };
  for (auto [field, paper, lowest, highest, check] : limits) {
    // A start at the paper's edge, or an end at 0, passes its own check and
    // then meets the other end of the area: check 9.
    const bool start = field == &LayoutFields::start_x || field == &LayoutFields::start_y;
    const bool end = field == &LayoutFields::end_x || field == &LayoutFields::end_y;
    const std::pair<double, int> values[] = {
        {lowest - 0.01, check}, {lowest, end ? 9 : 0}, {highest, start ? 9 : 0}, {highest + 0.01, check}};
    for (auto [value, expected] : values) {
      LayoutFields f = DEFAULTS;
      f.paper_selection = paper;
      f.end_x = paper == 1 ? 230.1 : 251.4;
      f.end_y = paper == 1 ? 165.4 : 206.8;
      f.*field = value;
      EXPECT_EQ(first_failed_check(f), expected) << "check " << check << " paper " << paper << " value " << value;
    }
  }
}

TEST(LayoutRules, ChecksRunInTableOrderAndTheAreaIsCheckedLast) {
  LayoutFields f = DEFAULTS;
  f.start_x = f.end_x;  // start equal to end
  EXPECT_EQ(first_failed_check(f), 9);
  f = DEFAULTS;
  f.start_y = 200;  // beyond the paper and beyond the end: check 6 comes first
  EXPECT_EQ(first_failed_check(f), 6);
  // Each pair of failing fields reports the earlier one.
  const Field order[] = {&LayoutFields::ten_height, &LayoutFields::ten_width, &LayoutFields::masu_between,
                         &LayoutFields::gyo_between, &LayoutFields::start_x,  &LayoutFields::start_y,
                         &LayoutFields::end_x,       &LayoutFields::end_y};
  for (int a = 0; a < 8; ++a)
    for (int b = a + 1; b < 8; ++b) {
      f = DEFAULTS;
      f.*order[a] = -1;
      f.*order[b] = -1;
      EXPECT_EQ(first_failed_check(f), a + 1) << a << "," << b;
    }
}

TEST(LayoutRules, EachCheckHasItsOwnMessage) {
  const char* const messages[] = {
      "縦点間の値が範囲内ではありません。",
      "横点間の値が範囲内ではありません。",
      "マス間の値が範囲内ではありません。",
      "行間の値が範囲内ではありません。",
      "印刷領域 Ｘ座標開始点の値が範囲内ではありません。",
      "印刷領域 Ｙ座標開始点の値が範囲内ではありません。",
      "印刷領域 Ｘ座標終了点の値が範囲内ではありません。",
      "印刷領域 Ｙ座標終了点の値が範囲内ではありません。",
      "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。",
  };
  for (int check = 1; check <= 9; ++check) EXPECT_STREQ(check_message(check), messages[check - 1]) << check;
  EXPECT_EQ(capacity_message(32, 22), "　 １行に印刷できるマス数：32マス\n１ページに印刷できる行数：22行");
}

TEST(LayoutRules, SpacingsAreShownAsWholeSteps) {
  const std::tuple<double, double, const char*> cases[] = {
      {2, VERTICAL_STEP_MM, "1.91"},   {5, HORIZONTAL_STEP_MM, "4.84"}, {7, HORIZONTAL_STEP_MM, "6.91"},
      {8, VERTICAL_STEP_MM, "7.94"},   {5.08, VERTICAL_STEP_MM, "5.08"}, {2.22, VERTICAL_STEP_MM, "2.22"},
      {2.07, HORIZONTAL_STEP_MM, "2.07"}, {3.11, HORIZONTAL_STEP_MM, "3.11"}, {6.03, VERTICAL_STEP_MM, "6.03"}};
  for (auto [typed, step, shown] : cases) EXPECT_EQ(fit_number(quantise(typed, step), 2), shown) << typed;
}

TEST(LayoutRules, CapacityCountsWholeCellsAndLinesLessTheBackPitch) {
  const std::tuple<double, double, int, int, int> cases[] = {
      // END_X, END_Y, BACK_PITCH -> CPL, LPP
      {230.1, 165.4, 6, 32, 22},  // the defaults
      {251.4, 206.8, 6, 40, 24},  // Ａ４'s whole area
      {224.4, 165.4, 0, 32, 22},  // 22 lines fit without the back pitch...
      {224.4, 165.4, 6, 32, 21},  // ...but not with its 1.91 mm
      {230.1, 160.55, 6, 31, 22}, // one cell short of 32: 32 * 5.18 - 3.11 = 162.65
  };
  for (auto [end_x, end_y, back, cpl, lpp] : cases) {
    PrintSettings s = default_print_settings();
    s.END_X = end_x;
    s.END_Y = end_y;
    s.BACK_PITCH = back;
    compute_capacity(s);
    EXPECT_EQ(std::pair(s.CPL, s.LPP), std::pair(cpl, lpp)) << end_x << " " << end_y << " " << back;
  }
  PrintSettings zero;  // divisors of 0, and an area upside down, give 0
  compute_capacity(zero);
  EXPECT_EQ(std::pair(zero.CPL, zero.LPP), std::pair(0, 0));
  PrintSettings upside_down = default_print_settings();
  upside_down.START_X = upside_down.START_Y = 300;
  compute_capacity(upside_down);
  EXPECT_EQ(std::pair(upside_down.CPL, upside_down.LPP), std::pair(0, 0));
}

TEST(LayoutRules, LongValuesFitSevenCharacters) {
  const std::tuple<double, int, const char*> cases[] = {{1234.567, 2, "1234.57"}, {12345.678, 2, "12345.7"},
                                                       {1234567.1, 2, "1234567"}, {123456789.0, 1, "1234567"},
                                                       {-123.456, 2, "-123.46"}};
  for (auto [value, decimals, text] : cases) EXPECT_EQ(fit_number(value, decimals), text);
}

}  // namespace
}  // namespace tenji
