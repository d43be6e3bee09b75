#pragma once

#include "config/print_settings.h"
#include "document/braille_document.h"

namespace tenji {

struct FitCheck {
  int result = 0;        // 0 fits, -1 a line is longer than CPL, -2 more lines than LPP
  int longest_line = 0;  // in cells
  int line_count = 0;
};

// A line of exactly CPL cells fits, and so does a document of exactly LPP
// lines; too wide wins over too long.
FitCheck check_fit(const PrintSettings& settings, const BrailleDocument& document);

}  // namespace tenji
