#include "print/print_walk.h"

#include <algorithm>
#include <cstring>

namespace tenji {

int lines_on_page(const PrintSettings& s, const BrailleDocument& doc) {
  return s.LPP < 0 ? 0 : std::min(doc.line_count(), s.LPP);
}

std::vector<PageSpan> pages_of_walk(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o) {
  if (!o.pages.empty()) return o.pages;
  if (o.extent == WalkExtent::whole) return {{1, doc.line_count(), 0}};
  return {{1, lines_on_page(s, doc), 0}};
}

bool walk_print(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o, PrintVisitor& v) {
  const bool whole = o.extent == WalkExtent::whole;
  const std::vector<PageSpan> pages = pages_of_walk(s, doc, o);
  char text[BRAILLE_LINE_MAX + 1];
  for (int copy = 1; copy <= o.copies; ++copy) {
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const PageSpan& page = pages[p];
      const int page_no = static_cast<int>(p) + 1;
      if (!v.begin_page(copy, page_no)) return false;
      double line_mm = s.START_X;
      bool first_on_page = true;
      for (int i = 0; i < page.lines; ++i, line_mm = (2 * s.TEN_HEIGHT + s.GYO_BETWEEN) + line_mm) {
        // Lines left out by a resume still take their place on the sheet.
        if (i < page.skip) continue;
        const int line = page.first_line + i;
        doc.get_line(text, line);
        const int length = static_cast<int>(std::strlen(text));
        if (!v.begin_line(copy, line, length)) return false;
        const int cells = whole ? length : std::min(length, std::max(s.CPL, 0));
        double cell_mm = s.START_Y;
        for (int j = 0; j < cells; ++j) {
          CellPlace place;
          place.copy = copy;
          place.page = page_no;
          place.line = line;
          place.cell = j;
          place.pattern = static_cast<unsigned char>(text[j]) - 0xA0;
          place.x = o.pitch_test ? s.PITCH_X : mm_to_steps(line_mm, VERTICAL_STEP_MM);
          place.y = o.pitch_test ? s.PITCH_Y : mm_to_steps(cell_mm, HORIZONTAL_STEP_MM);
          place.first_on_page = first_on_page;
          first_on_page = false;
          if (!v.cell(place)) return false;
          cell_mm = (cell_mm + s.MASU_BETWEEN) + s.TEN_WIDTH;
        }
        // Empty lines advance too: they leave a blank line on the page.
      }
      if (!v.end_page(copy, page_no)) return false;
    }
  }
  return true;
}

}  // namespace tenji
