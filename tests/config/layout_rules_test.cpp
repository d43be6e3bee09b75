#include "config/layout_rules.h"

#include <gtest/gtest.h>

namespace tenji {
namespace {

TEST(LayoutRules, QuantisedSpacingsAreWholeSteps) {
  EXPECT_EQ(fit_number(quantise(2, VERTICAL_STEP_MM), 2), "1.91");
  EXPECT_EQ(fit_number(quantise(5, HORIZONTAL_STEP_MM), 2), "4.84");
  EXPECT_EQ(fit_number(quantise(7, HORIZONTAL_STEP_MM), 2), "6.91");
  EXPECT_EQ(fit_number(quantise(8, VERTICAL_STEP_MM), 2), "7.94");
  EXPECT_EQ(fit_number(quantise(5.08, VERTICAL_STEP_MM), 2), "5.08");
  EXPECT_EQ(fit_number(quantise(2.22, VERTICAL_STEP_MM), 2), "2.22");
}

TEST(LayoutRules, CapacityOfTheDefaultsAndOfA4) {
  PrintSettings s = default_print_settings();
  s.CPL = s.LPP = 0;
  compute_capacity(s);
  EXPECT_EQ(s.CPL, 32);
  EXPECT_EQ(s.LPP, 22);
  s.END_X = 251.4;
  s.END_Y = 206.8;
  compute_capacity(s);
  EXPECT_EQ(s.CPL, 40);
  EXPECT_EQ(s.LPP, 24);
}

TEST(LayoutRules, CapacityNeverDividesByZeroOrGoesNegative) {
  PrintSettings s;  // all zero
  compute_capacity(s);
  EXPECT_EQ(s.CPL, 0);
  EXPECT_EQ(s.LPP, 0);
  s = default_print_settings();
  s.START_X = 300;  // an area upside down
  s.START_Y = 300;
  compute_capacity(s);
  EXPECT_EQ(s.CPL, 0);
  EXPECT_EQ(s.LPP, 0);
}

TEST(LayoutRules, ChecksRunInOrderWithTheLimitsOfThePaper) {
  LayoutFields f{2.22, 2.07, 3.11, 6.03, 0.0, 0.0, 230.1, 165.4, 1};
  EXPECT_EQ(first_failed_check(f), 0);
  f.end_x = 230.2;
  EXPECT_EQ(first_failed_check(f), 7);
  f.paper_selection = 0;  // Ａ４
  EXPECT_EQ(first_failed_check(f), 0);
  f.end_x = 251.4;
  EXPECT_EQ(first_failed_check(f), 0);
  f.start_x = 251.4;  // equal to the end: only the last check fails
  EXPECT_EQ(first_failed_check(f), 9);
  f.start_x = 260;  // beyond the paper: check 5 comes first
  EXPECT_EQ(first_failed_check(f), 5);
  f.ten_height = 1.99;
  f.gyo_between = 9;
  EXPECT_EQ(first_failed_check(f), 1);
  for (auto [field, value, check] : {std::tuple{&LayoutFields::ten_height, 5.09, 1}, {&LayoutFields::ten_width, 5.01, 2},
                                     {&LayoutFields::masu_between, 2.99, 3}, {&LayoutFields::gyo_between, 8.01, 4}}) {
    LayoutFields g{2.22, 2.07, 3.11, 6.03, 0.0, 0.0, 230.1, 165.4, 1};
    g.*field = value;
    EXPECT_EQ(first_failed_check(g), check);
    EXPECT_NE(std::string(check_message(check)), "");
  }
  EXPECT_EQ(std::string(check_message(9)), "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。");
}

TEST(LayoutRules, LongValuesFitSevenCharacters) {
  EXPECT_EQ(fit_number(1234.567, 2), "1234.57");
  EXPECT_EQ(fit_number(12345.678, 2), "12345.7");
  EXPECT_EQ(fit_number(1234567.1, 2), "1234567");
  EXPECT_EQ(fit_number(123456789.0, 1), "1234567");
  EXPECT_EQ(fit_number(-123.456, 2), "-123.46");
}

TEST(LayoutRules, TheCountsMessage) {
  EXPECT_EQ(capacity_message(32, 22), "　 １行に印刷できるマス数：32マス\n１ページに印刷できる行数：22行");
}

}  // namespace
}  // namespace tenji
