// The one walk over what a print embosses: every copy, every page, every
// line of the page, every cell that fits its line, with the cell's device
// position.
// The job sends from it, the planned byte count counts along it, and the fit
// check measures the document with it.
#pragma once

#include <vector>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/page_plan.h"

namespace tenji {

struct CellPlace {
  int copy = 0;     // from 1
  int page = 0;     // from 1, of the pages printed
  int line = 0;     // document line, from 1
  int cell = 0;     // index in the line, from 0
  int pattern = 0;  // the cell byte minus 0xA0; only its low six bits count
  int x = 0, y = 0; // device position in steps
  bool first_on_page = false;  // the dot size goes before this cell
};

struct LinePlace {
  int copy = 0, page = 0, line = 0;  // as in CellPlace
  int cells = 0;    // the line's whole length, before CPL cuts it
  int printed = 0;  // the cells of it that are embossed
  int x = 0;        // its device position down the page, in steps
};

// Each call may stop the walk by returning false.
class PrintVisitor {
 public:
  virtual ~PrintVisitor() = default;
  // Each page is embossed as one copy of a page: positions from the top.
  virtual bool begin_page(int /*copy*/, int /*page*/) { return true; }
  virtual bool begin_line(const LinePlace&) { return true; }
  // A visitor that needs only the lines says so, and the walk passes no cell.
  virtual bool wants_cells() const { return true; }
  virtual bool cell(const CellPlace&) { return true; }
  virtual bool end_page(int /*copy*/, int /*page*/) { return true; }
};

struct WalkOptions {
  int copies = 1;
  bool pitch_test = false;  // every cell at (PITCH_X, PITCH_Y), unconverted
  // The pages, all of them for each copy (collated); none given: one page,
  // the document's first LPP lines.
  std::vector<PageSpan> pages;
};

// True when the walk went to its end, false when the visitor stopped it.
// Positions are kept in millimetres and turned into steps cell by cell, so
// rounding never adds up along a line or down a page.
bool walk_print(const PrintSettings& settings, const BrailleDocument& document, const WalkOptions& options,
                PrintVisitor& visitor);

// The lines of the document that one page embosses.
int lines_on_page(const PrintSettings& settings, const BrailleDocument& document);

// The device positions across the page (in steps) of the first `cells`
// cells of every line: the same for each line.
std::vector<int> cell_positions(const PrintSettings& settings, int cells);

// The pages a walk with these options embosses.
std::vector<PageSpan> pages_of_walk(const PrintSettings& settings, const BrailleDocument& document,
                                    const WalkOptions& options);

}  // namespace tenji
