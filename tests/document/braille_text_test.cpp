#include "document/braille_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/braille_file_reader.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

TEST(BrailleText, PatternsAndSpacesBecomeCells) {
  std::vector<std::string> lines;
  BrailleTextError error;
  // ⠁ (dot 1), ⠿ (all six), space, ⠠ (dot 6); CRLF, an empty line, final break.
  ASSERT_TRUE(cells_from_braille_text("\u2801\u283F \u2820\r\n\n\u2800\n", lines, error));
  EXPECT_EQ(lines, (std::vector<std::string>{"\xA1\xDF\xA0\xC0", "", "\xA0"}));
  EXPECT_EQ(braille_text_from_cells(lines[0]), "\u2801\u283F\u2800\u2820");
}

TEST(BrailleText, UnknownCharactersNameTheirLineAndColumn) {
  std::vector<std::string> lines;
  BrailleTextError error;
  EXPECT_FALSE(cells_from_braille_text("\u2801\u2802\n\u2801\u2840x", lines, error));  // 8-dot pattern
  EXPECT_EQ(error.line, 2);
  EXPECT_EQ(error.column, 2);
  EXPECT_EQ(error.message, "U+2840 は6点の点字でも空白でもありません");
  EXPECT_TRUE(lines.empty());

  EXPECT_FALSE(cells_from_braille_text("\u2801\xE2\xA0", lines, error));  // cut-off UTF-8
  EXPECT_EQ(error.column, 2);
  EXPECT_EQ(error.message, "UTF-8として読めない文字です");
}

TEST(Samples, ReadBackToTheCellsOfTheirText) {
  for (const char* name : {"aiueo", "all-patterns", "full-page"}) {
    const std::string base = std::string(TENJI_SOURCE_DIR) + "/samples/" + name;
    std::vector<std::string> expected;
    BrailleTextError error;
    ASSERT_TRUE(cells_from_braille_text(tenji::testing::read_file(base + ".txt"), expected, error)) << name;
    BrailleDocument doc;
    ASSERT_EQ(BrailleFileReader((base + ".NRK").c_str()).read(&doc), 0) << name;
    ASSERT_EQ(doc.line_count(), static_cast<int>(expected.size())) << name;
    for (int n = 1; n <= doc.line_count(); ++n) {
      char buf[BRAILLE_LINE_MAX + 1];
      doc.get_line(buf, n);
      EXPECT_EQ(std::string(buf), expected[static_cast<std::size_t>(n - 1)]) << name << " line " << n;
    }
  }
}

}  // namespace
}  // namespace tenji
