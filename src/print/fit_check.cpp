#include "print/fit_check.h"

#include <algorithm>
#include <cstring>

namespace tenji {

FitCheck check_fit(const PrintSettings& settings, const BrailleDocument& document) {
  FitCheck fit;
  fit.line_count = document.line_count();
  char text[BRAILLE_LINE_MAX + 1];
  for (int n = 1; n <= fit.line_count; ++n) {
    document.get_line(text, n);
    fit.longest_line = std::max(fit.longest_line, static_cast<int>(std::strlen(text)));
  }
  if (settings.CPL < fit.longest_line)
    fit.result = -1;
  else if (settings.LPP < fit.line_count)
    fit.result = -2;
  return fit;
}

}  // namespace tenji
