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

}  // namespace
}  // namespace tenji
