#include "config/value_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace tenji {
namespace {

TEST(ValueText, FormatsWithTheRoundingOfPrintf) {
  EXPECT_EQ(format_real(2.2225, 2), "2.22");
  EXPECT_EQ(format_real(1.905, 2), "1.91");
  EXPECT_EQ(format_real(230.1, 1), "230.1");
  EXPECT_EQ(format_real(0.0, 1), "0.0");
  EXPECT_EQ(format_int(-12), "-12");
}

TEST(ValueText, ParsesLikeAtofAndAtoi) {
  EXPECT_DOUBLE_EQ(text_to_real("  6mm"), 6.0);
  EXPECT_DOUBLE_EQ(text_to_real("+2.5"), 2.5);
  EXPECT_DOUBLE_EQ(text_to_real("-0.75x"), -0.75);
  EXPECT_DOUBLE_EQ(text_to_real(".5"), 0.5);
  EXPECT_DOUBLE_EQ(text_to_real("mm6"), 0.0);
  EXPECT_DOUBLE_EQ(text_to_real(""), 0.0);
  EXPECT_DOUBLE_EQ(text_to_real("+-1"), 0.0);
  EXPECT_EQ(text_to_int("12.9"), 12);
  EXPECT_EQ(text_to_int(" -3"), -3);
  EXPECT_EQ(text_to_int("x1"), 0);
  EXPECT_EQ(text_to_int("99999999999"), INT_MAX);
  EXPECT_EQ(text_to_int("-99999999999"), INT_MIN);
}

}  // namespace
}  // namespace tenji
