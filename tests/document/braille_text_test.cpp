#include "document/braille_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tenji {
namespace {

TEST(BrailleText, PatternsAndSpacesBecomeCells) {
  TextDocument doc;
  BrailleTextError error;
  const std::vector<std::string>& lines = doc.lines;
  // ⠁ (dot 1), ⠿ (all six), space, ⠠ (dot 6); CRLF, an empty line, final break.
  ASSERT_TRUE(parse_braille_text("\u2801\u283F \u2820\r\n\n\u2800\n", doc, error));
  EXPECT_EQ(lines, (std::vector<std::string>{"\xA1\xDF\xA0\xC0", "", "\xA0"}));
  EXPECT_EQ(braille_text_from_cells(lines[0] + "\x41"), "\u2801\u283F\u2800\u2820\uFFFD");
  EXPECT_FALSE(parse_braille_text("\u2801\n\u2840", doc, error));  // an 8-dot pattern
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace tenji
