// The rules of the dot-spacing settings: device steps, the print-area
// limits of each paper, the field checks and the cells per line and lines
// per page that fit.
#pragma once

#include <string>

#include "config/print_settings.h"

namespace tenji {

// The length the embosser really produces: whole steps.
double quantise(double length_mm, double step_mm);

struct AreaLimits {
  double max_x;
  double max_y;
};
// By the paper list's selection: 1 is Ｂ５, anything else (Ａ４, none) Ａ４'s.
AreaLimits area_limits(int paper_selection);

// The range each spacing must lie in, by its check's number (1 縦点間,
// 2 横点間, 3 マス間, 4 行間); the print area's come from area_limits.
struct ValueRange {
  double lo, hi;
};
ValueRange spacing_range(int check);

// The values of the dialog's fields as typed.
struct LayoutFields {
  double ten_height = 0, ten_width = 0, masu_between = 0, gyo_between = 0;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  int paper_selection = -1;
};

// 0 when every check passes, else the number (1-9) of the first that fails.
int first_failed_check(const LayoutFields& fields);
const char* check_message(int check);

// CPL and LPP from the spacings and the area. A zero divisor, a negative
// count or one that is not a number gives 0.
void compute_capacity(PrintSettings& settings);

// "%.<decimals>f" cut to fit `width` characters: fewer decimals as needed
// (down to none), then the first `width` characters.
std::string fit_number(double value, int decimals, std::size_t width = 7);

// The counts message after ＯＫ and 印刷.
std::string capacity_message(int cpl, int lpp);

}  // namespace tenji
