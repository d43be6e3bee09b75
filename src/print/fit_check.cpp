#include "print/fit_check.h"

#include <algorithm>

#include "print/print_walk.h"

namespace tenji {

FitCheck check_fit(const PrintSettings& settings, const BrailleDocument& document) {
  class Measure final : public PrintVisitor {
   public:
    bool begin_line(int, int, int cells) override {
      longest = std::max(longest, cells);
      return true;
    }
    bool cell(const CellPlace&) override { return true; }
    int longest = 0;
  } measure;
  walk_print(settings, document, {1, false, WalkExtent::whole, {}}, measure);

  FitCheck fit;
  fit.line_count = document.line_count();
  fit.longest_line = measure.longest;
  if (settings.CPL < fit.longest_line)
    fit.result = -1;
  else if (settings.LPP < fit.line_count)
    fit.result = -2;
  return fit;
}

}  // namespace tenji
