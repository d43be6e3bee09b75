// Settings that would put dots off the paper are refused before a port is
// opened: a value that is not a finite number, or a first or last dot
// outside the selected paper. Spacings merely outside the dialog's limits
// print as they are: hand-edited small or large spacings are a user's right.
#pragma once

#include <optional>
#include <string>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/page_plan.h"

namespace tenji {

struct PaperSize {
  double down_mm, across_mm;  // X, Y
};
// PAPER_SIZE 1 is Ｂ５, any other value Ａ４ (as in the dialog).
PaperSize paper_size(int paper_size_index);

// The first problem found, as a message that names the key and its value;
// nothing when the print stays on the paper. Only the cells the job prints
// count (LPP lines of CPL cells, the page that prints).
std::optional<std::string> check_geometry(const PrintSettings& settings, const BrailleDocument& document,
                                          const std::vector<PageSpan>& pages = {});

}  // namespace tenji
