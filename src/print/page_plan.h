// The pages a document prints on: a source page break (a form feed, a PEF
// page) always begins a new page, and a source page longer than LPP goes on
// on the next one. An NRK document has no breaks: its pages are runs of LPP
// lines.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "document/braille_document.h"

namespace tenji {

// One sheet: `lines` lines of the document from `first_line` on, at their
// places from the top; the first `skip` of them are left out (a resume).
struct PageSpan {
  int first_line = 1;
  int lines = 0;
  int skip = 0;
  bool operator==(const PageSpan&) const = default;
};

std::vector<PageSpan> paginate(const BrailleDocument& document, int lpp);

// Pages `from` to `to` (0: to the last), counting from 1, the first of them
// from its line `from_line` on.
struct PageRange {
  int from = 1, to = 0, from_line = 1;
};
// What prints when no range is chosen: the first page. Without page breaks
// that is the document's first LPP lines, what a walk with no pages given
// prints (nothing is returned); with them, the first page to its own end.
std::vector<PageSpan> first_page_only(const BrailleDocument& document, int lpp);

// "all", "N" or "M-N"; nothing for anything else.
std::optional<PageRange> parse_page_range(std::string_view text);

// The pages of the range; empty when the range lies outside the document or
// the first page has no line `from_line`.
std::vector<PageSpan> select_pages(const std::vector<PageSpan>& pages, const PageRange& range);

}  // namespace tenji
