#include "print/fit_check.h"

#include <gtest/gtest.h>

#include <string>

namespace tenji {
namespace {

FitCheck fit_of(int cpl, int lpp, std::initializer_list<int> line_lengths) {
  PrintSettings s;
  s.CPL = cpl;
  s.LPP = lpp;
  BrailleDocument doc;
  for (int n : line_lengths) doc.append_line(make_braille_line(std::string(static_cast<std::size_t>(n), '\xA1')));
  return check_fit(s, doc);
}

TEST(FitCheck, ExactlyCplAndLppFit) {
  const FitCheck f = fit_of(3, 2, {3, 1});
  EXPECT_EQ(f.result, 0);
  EXPECT_EQ(f.longest_line, 3);
  EXPECT_EQ(f.line_count, 2);
}

TEST(FitCheck, TooWideWinsOverTooLong) {
  EXPECT_EQ(fit_of(3, 5, {2, 4}).result, -1);
  EXPECT_EQ(fit_of(3, 1, {2, 3}).result, -2);
  const FitCheck both = fit_of(3, 1, {4, 1});
  EXPECT_EQ(both.result, -1);
  EXPECT_EQ(both.longest_line, 4);
  EXPECT_EQ(both.line_count, 2);
}

TEST(FitCheck, ADocumentWithoutLinesFits) { EXPECT_EQ(fit_of(0, 0, {}).result, 0); }

}  // namespace
}  // namespace tenji
