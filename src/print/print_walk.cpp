#include "print/print_walk.h"

#include <algorithm>

namespace tenji {

int lines_on_page(const PrintSettings& s, const BrailleDocument& doc) {
  return s.LPP < 0 ? 0 : std::min(doc.line_count(), s.LPP);
}

std::vector<PageSpan> pages_of_walk(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o) {
  if (!o.pages.empty()) return o.pages;
  return {{1, lines_on_page(s, doc), 0}};
}

std::vector<int> cell_positions(const PrintSettings& s, int cells) {
  std::vector<int> y;
  y.reserve(static_cast<std::size_t>(std::max(cells, 0)));
  double cell_mm = s.START_Y;
  for (int j = 0; j < cells; ++j, cell_mm = (cell_mm + s.MASU_BETWEEN) + s.TEN_WIDTH)
    y.push_back(mm_to_steps(cell_mm, HORIZONTAL_STEP_MM));
  return y;
}

bool walk_print(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o, PrintVisitor& v) {
  const std::vector<PageSpan> pages = pages_of_walk(s, doc, o);
  const int max_cells = std::min(std::max(s.CPL, 0), static_cast<int>(BRAILLE_LINE_MAX));
  const std::vector<int> cell_y = cell_positions(s, v.wants_cells() && !o.pitch_test ? max_cells : 0);
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
        const std::string_view text = doc.cells(line);
        const int length = static_cast<int>(text.size());
        const int cells = std::min(length, max_cells);
        const int x = o.pitch_test ? s.PITCH_X : mm_to_steps(line_mm, VERTICAL_STEP_MM);
        if (!v.begin_line({copy, page_no, line, length, cells, x})) return false;
        if (!v.wants_cells()) continue;
        for (int j = 0; j < cells; ++j) {
          CellPlace place;
          place.copy = copy;
          place.page = page_no;
          place.line = line;
          place.cell = j;
          place.pattern = static_cast<unsigned char>(text[j]) - 0xA0;
          place.x = x;
          place.y = o.pitch_test ? s.PITCH_Y : cell_y[static_cast<std::size_t>(j)];
          place.first_on_page = first_on_page;
          first_on_page = false;
          if (!v.cell(place)) return false;
        }
        // Empty lines advance too: they leave a blank line on the page.
      }
      if (!v.end_page(copy, page_no)) return false;
    }
  }
  return true;
}

}  // namespace tenji
