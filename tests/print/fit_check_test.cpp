#include "print/fit_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tenji {
namespace {

FitCheck fit_of(int cpl, int lpp, const std::vector<int>& line_lengths) {
  BrailleDocument doc;
  for (int n : line_lengths) doc.append_line(make_braille_line(std::string(static_cast<std::size_t>(n), '\xA1')));
  return check_fit(PrintSettings{.CPL = cpl, .LPP = lpp}, doc);
}

TEST(FitCheck, ExactlyCplAndLppFitAndTooWideWinsOverTooLong) {
  const std::tuple<int, int, std::vector<int>, int, int, int> cases[] = {
      // CPL, LPP, line lengths -> result, longest line, line count
      {3, 2, {3, 1}, 0, 3, 2}, {3, 5, {2, 4}, -1, 4, 2}, {3, 1, {2, 3}, -2, 3, 2},
      {3, 1, {4, 1}, -1, 4, 2}, {0, 0, {}, 0, 0, 0},  {2, 9, {1, 2, 0, 3, 1}, -1, 3, 5}};
  for (const auto& [cpl, lpp, lengths, result, longest, count] : cases) {
    const FitCheck f = fit_of(cpl, lpp, lengths);
    EXPECT_EQ(std::tuple(f.result, f.longest_line, f.line_count), std::tuple(result, longest, count)) << cpl << "x" << lpp;
  }
}

}  // namespace
}  // namespace tenji
