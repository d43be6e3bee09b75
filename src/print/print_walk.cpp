#include "print/print_walk.h"

#include <algorithm>
#include <cstring>

namespace tenji {

int lines_on_page(const PrintSettings& s, const BrailleDocument& doc) {
  return s.LPP < 0 ? 0 : std::min(doc.line_count(), s.LPP);
}

bool walk_print(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o, PrintVisitor& v) {
  const bool whole = o.extent == WalkExtent::whole;
  const int lines = whole ? doc.line_count() : lines_on_page(s, doc);
  char text[BRAILLE_LINE_MAX + 1];
  for (int copy = 1; copy <= o.copies; ++copy) {
    if (!v.begin_copy(copy)) return false;
    double line_mm = s.START_X;
    bool first_on_page = true;
    for (int line = 1; line <= lines; ++line) {
      doc.get_line(text, line);
      const int length = static_cast<int>(std::strlen(text));
      if (!v.begin_line(copy, line, length)) return false;
      const int cells = whole ? length : std::min(length, std::max(s.CPL, 0));
      double cell_mm = s.START_Y;
      for (int j = 0; j < cells; ++j) {
        CellPlace place;
        place.copy = copy;
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
      line_mm = (2 * s.TEN_HEIGHT + s.GYO_BETWEEN) + line_mm;
    }
    if (!v.end_copy(copy)) return false;
  }
  return true;
}

}  // namespace tenji
