#include "print/geometry_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tenji {
namespace {

TEST(GeometryCheck, RefusesWhatIsNoNumberOrLeavesThePaperNamingTheValueButLetsTheRestPrint) {
  BrailleDocument page;
  for (int i = 0; i < 22; ++i) page.append_line(make_braille_line(std::string(32, '\xDF')));
  using S = PrintSettings;
  const std::tuple<double S::*, double, const char*> cases[] = {
      {&S::TEN_HEIGHT, std::nan(""), "設定値 TEN_HEIGHT=nan は数ではありません。"},
      {&S::TEN_WIDTH, std::numeric_limits<double>::infinity(), "設定値 TEN_WIDTH=inf は数ではありません。"},
      {&S::TEN_HEIGHT, 9999999, "設定値 TEN_HEIGHT=9999999.00 では点が用紙（Ｂ５ 257 × 182 mm）の外に出ます（"},
      {&S::MASU_BETWEEN, 1e300, "設定値 MASU_BETWEEN=1e+300 では"},
      {&S::START_X, 250, "設定値 START_X=250.00 では点が用紙（Ｂ５ 257 × 182 mm）の外に出ます（"},
      {&S::START_Y, -3, "設定値 START_Y=-3.00 では点が用紙（Ｂ５ 257 × 182 mm）の外に出ます（"},
  };
  for (const auto& [field, value, message] : cases) {
    PrintSettings s = default_print_settings();
    s.*field = value;
    const auto problem = check_geometry(s, page);
    ASSERT_TRUE(problem) << message;
    EXPECT_EQ(problem->substr(0, std::string(message).size()), message);
  }
  // Hand-edited spacings that stay on the paper print.
  PrintSettings s = default_print_settings();
  s.TEN_HEIGHT = s.TEN_WIDTH = 1.5;  // below the dialog's limits
  EXPECT_EQ(check_geometry(s, page), std::nullopt);
  // The last cell of 22 x 32 at the defaults reaches 229.9 mm down; Ａ４ takes
  // a start 60 mm further down that Ｂ５ does not.
  s = default_print_settings();
  s.START_X = 60;
  EXPECT_NE(check_geometry(s, page), std::nullopt);
  s.PAPER_SIZE = 0;
  EXPECT_EQ(check_geometry(s, page), std::nullopt);
  EXPECT_EQ(check_geometry(default_print_settings(), BrailleDocument()), std::nullopt);  // nothing to emboss
}

}  // namespace
}  // namespace tenji
