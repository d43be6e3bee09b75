#include "config/value_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace tenji {
namespace {

TEST(ValueText, ParsesLikeAtofAndAtoi) {
  for (auto [text, value] : {std::pair{"  6mm", 6.0}, {"+2.5", 2.5}, {"-0.75x", -0.75}, {".5", 0.5}, {"mm6", 0.0},
                             {"", 0.0}, {"+-1", 0.0}})
    EXPECT_DOUBLE_EQ(text_to_real(text), value) << text;
  for (auto [text, value] : {std::pair{"12.9", 12}, {" -3", -3}, {"x1", 0}, {"+-1", 0}, {"99999999999", INT_MAX},
                             {"-99999999999", INT_MIN}})
    EXPECT_EQ(text_to_int(text), value) << text;
}

// A Japanese input method gives full-width digits, point and signs.
TEST(ValueText, TypedNumbersReadFullWidthFormsAsASCII) {
  for (auto [typed, ascii] : {std::pair{"２．５", "2.5"}, {"－０．７５", "-0.75"}, {"\u22123", "-3"}, {"＋９", "+9"},
                              {"１２ａ", "12ａ"}, {"〇", "〇"}, {"１，５", "1，5"}, {"／", "／"}, {"５\xEF\xBC", "5\xEF\xBC"}})
    EXPECT_EQ(ascii_number_text(typed), ascii) << typed;
  EXPECT_DOUBLE_EQ(typed_real("２．５mm"), 2.5);
  EXPECT_EQ(typed_int("ａ１"), 0);
  EXPECT_EQ(typed_int("９９９"), 999);
}

}  // namespace
}  // namespace tenji
