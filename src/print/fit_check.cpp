#include "print/fit_check.h"

#include <algorithm>


namespace tenji {

FitCheck check_fit(const PrintSettings& settings, const BrailleDocument& document) {
  FitCheck fit;
  fit.line_count = document.line_count();
  for (int n = 1; n <= fit.line_count; ++n)
    fit.longest_line = std::max(fit.longest_line, static_cast<int>(document.cells(n).size()));
  if (settings.CPL < fit.longest_line)
    fit.result = -1;
  else if (settings.LPP < fit.line_count)
    fit.result = -2;
  return fit;
}

}  // namespace tenji
