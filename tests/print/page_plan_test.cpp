#include "print/page_plan.h"

#include <gtest/gtest.h>

namespace tenji {
namespace {

using P = std::vector<PageSpan>;

// A document of `lines` lines with source page breaks before the given lines.
BrailleDocument document(int lines, std::initializer_list<int> breaks_before = {}) {
  BrailleDocument doc;
  for (int line = 1; line <= lines; ++line) {
    for (int b : breaks_before)
      if (b == line) doc.break_page();
    doc.append_line(make_braille_line("\xA1"));
  }
  return doc;
}

TEST(PagePlan, SourceBreaksBeginPagesAndLongPagesGoOn) {
  const std::tuple<BrailleDocument, int, P> cases[] = {
      {document(22), 22, {{1, 22, 0}}},                        // exactly LPP lines
      {document(23), 22, {{1, 22, 0}, {23, 1, 0}}},            // LPP + 1
      {document(5, {3}), 22, {{1, 2, 0}, {3, 3, 0}}},          // a source page break
      {document(5, {4}), 2, {{1, 2, 0}, {3, 1, 0}, {4, 2, 0}}},  // a source page longer than LPP goes on
      {document(4, {3, 3}), 22, {{1, 2, 0}, {3, 0, 0}, {3, 2, 0}}},  // an empty page between two breaks
      {document(0), 22, {{1, 0, 0}}},                          // no line: one blank sheet
  };
  for (const auto& [doc, lpp, pages] : cases) EXPECT_EQ(paginate(doc, lpp), pages) << doc.line_count() << "/" << lpp;
}

TEST(PagePlan, RangesAndResumes) {
  const P pages = {{1, 22, 0}, {23, 22, 0}, {45, 3, 0}};
  const std::tuple<const char*, int, P> cases[] = {
      {"all", 1, pages},
      {"2", 1, {{23, 22, 0}}},
      {"2-3", 5, {{23, 22, 4}, {45, 3, 0}}},  // resumed at line 5 of page 2
      {"3", 4, {}},                            // page 3 has no line 4
      {"4", 1, {}},                            // beyond the last page
  };
  for (const auto& [text, from_line, expected] : cases) {
    auto range = parse_page_range(text);
    ASSERT_TRUE(range) << text;
    range->from_line = from_line;
    EXPECT_EQ(select_pages(pages, *range), expected) << text;
  }
  for (const char* bad : {"", "0", "x", "1-", "-2", "2-1"}) EXPECT_FALSE(parse_page_range(bad)) << bad;
}

}  // namespace
}  // namespace tenji
