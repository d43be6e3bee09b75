#include "print/geometry_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "config/value_text.h"
#include "print/print_walk.h"

namespace tenji {

PaperSize paper_size(int index) { return index == 1 ? PaperSize{257.0, 182.0} : PaperSize{297.0, 210.0}; }

namespace {

struct RealKey {
  const char* name;
  double PrintSettings::*field;
};
constexpr RealKey GEOMETRY_KEYS[] = {{"TEN_HEIGHT", &PrintSettings::TEN_HEIGHT},
                                     {"TEN_WIDTH", &PrintSettings::TEN_WIDTH},
                                     {"MASU_BETWEEN", &PrintSettings::MASU_BETWEEN},
                                     {"GYO_BETWEEN", &PrintSettings::GYO_BETWEEN},
                                     {"START_X", &PrintSettings::START_X},
                                     {"START_Y", &PrintSettings::START_Y}};

// The farthest and nearest dots the job would emboss, in steps. Down the
// page each line that has a cell counts; across it every line starts at
// the same place, so the longest printed line spans the rest.
class Extent final : public PrintVisitor {
 public:
  Extent(int dx, int back) : dx_(dx), back_(back) {}
  bool wants_cells() const override { return false; }
  bool begin_line(const LinePlace& l) override {
    if (l.printed == 0) return true;
    const long long x0 = static_cast<long long>(l.x) + back_;
    min_x = std::min({min_x, x0, x0 + 2LL * dx_});
    max_x = std::max({max_x, x0, x0 + 2LL * dx_});
    most_cells = std::max(most_cells, l.printed);
    return true;
  }
  long long min_x = std::numeric_limits<long long>::max(), max_x = std::numeric_limits<long long>::min();
  int most_cells = 0;

 private:
  int dx_, back_;
};

// "KEY=value" as the user can read it: two decimals, or the short form for
// values far beyond any paper.
std::string show(const char* key, double value) {
  char text[64];
  if (std::isnan(value))
    std::snprintf(text, sizeof text, "nan");
  else if (std::isinf(value))
    std::snprintf(text, sizeof text, value > 0 ? "inf" : "-inf");
  else if (std::fabs(value) >= 1e7)
    std::snprintf(text, sizeof text, "%g", value);
  else
    return std::string(key) + "=" + format_real(value, 2);
  return std::string(key) + "=" + text;
}

}  // namespace

std::optional<std::string> check_geometry(const PrintSettings& s, const BrailleDocument& document,
                                          const std::vector<PageSpan>& pages) {
  for (const auto& k : GEOMETRY_KEYS)
    if (!std::isfinite(s.*k.field)) return "設定値 " + show(k.name, s.*k.field) + " は数ではありません。";

  Extent extent(mm_to_steps(s.TEN_HEIGHT, VERTICAL_STEP_MM), s.BACK_PITCH);
  const WalkOptions walk{1, false, pages};
  walk_print(s, document, walk, extent);
  if (extent.most_cells == 0) return std::nullopt;
  const int dy = mm_to_steps(s.TEN_WIDTH, HORIZONTAL_STEP_MM);
  long long min_y = std::numeric_limits<long long>::max(), max_y = std::numeric_limits<long long>::min();
  for (const int y : cell_positions(s, extent.most_cells)) {
    min_y = std::min({min_y, static_cast<long long>(y), static_cast<long long>(y) + dy});
    max_y = std::max({max_y, static_cast<long long>(y), static_cast<long long>(y) + dy});
  }

  const PaperSize paper = paper_size(s.PAPER_SIZE);
  const double down = static_cast<double>(extent.max_x) * VERTICAL_STEP_MM;
  const double across = static_cast<double>(max_y) * HORIZONTAL_STEP_MM;
  const bool off_down = extent.min_x < 0 || down > paper.down_mm;
  const bool off_across = min_y < 0 || across > paper.across_mm;
  if (!off_down && !off_across) return std::nullopt;

  // Name the value that carries the dots farthest along the axis that is off.
  struct Term {
    std::string shown;
    double reach_mm;
  };
  int lines = 0;
  for (const PageSpan& p : pages_of_walk(s, document, walk)) lines = std::max(lines, p.lines);
  const double cells = std::max(1, std::min(s.CPL, static_cast<int>(BRAILLE_LINE_MAX)));
  const std::vector<Term> terms =
      off_down ? std::vector<Term>{{show("START_X", s.START_X), s.START_X},
                                   {show("TEN_HEIGHT", s.TEN_HEIGHT), 2.0 * lines * s.TEN_HEIGHT},
                                   {show("GYO_BETWEEN", s.GYO_BETWEEN), (lines - 1) * s.GYO_BETWEEN},
                                   {"BACK_PITCH=" + std::to_string(s.BACK_PITCH), s.BACK_PITCH * VERTICAL_STEP_MM}}
               : std::vector<Term>{{show("START_Y", s.START_Y), s.START_Y},
                                   {show("MASU_BETWEEN", s.MASU_BETWEEN), (cells - 1) * s.MASU_BETWEEN},
                                   {show("TEN_WIDTH", s.TEN_WIDTH), cells * s.TEN_WIDTH}};
  // Dots before the paper's edge: the start is at fault; beyond its far
  // edge: whatever carries them farthest.
  const bool before_edge = off_down ? extent.min_x < 0 : min_y < 0;
  const Term& worst = before_edge ? terms.front()
                                  : *std::max_element(terms.begin(), terms.end(), [](const Term& a, const Term& b) {
                                      return std::fabs(a.reach_mm) < std::fabs(b.reach_mm);
                                    });
  char where[160];
  std::snprintf(where, sizeof where, "点が用紙（%s %.0f × %.0f mm）の外に出ます（%.1f × %.1f mm まで）。",
                s.PAPER_SIZE == 1 ? "Ｂ５" : "Ａ４", paper.down_mm, paper.across_mm, down, across);
  return "設定値 " + worst.shown + " では" + where;
}

}  // namespace tenji
