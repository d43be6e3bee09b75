#include "config/print_settings.h"

#include <climits>
#include <cmath>

namespace tenji {

int mm_to_steps(double length_mm, double step_mm) {
  const double q = length_mm / step_mm + 0.5;
  if (std::isnan(q)) return 0;
  if (q >= static_cast<double>(INT_MAX) + 1.0) return INT_MAX;
  if (q <= static_cast<double>(INT_MIN) - 1.0) return INT_MIN;
  return static_cast<int>(q);  // truncates toward zero
}

PrintSettings default_print_settings() {
  PrintSettings s;
  s.TEN_HEIGHT = 2.22;
  s.TEN_WIDTH = 2.07;
  s.MASU_BETWEEN = 3.11;
  s.GYO_BETWEEN = 6.03;
  s.TEN_KIND = 1;
  s.PAPER_SIZE = 1;
  s.CPL = 32;
  s.LPP = 22;
  s.START_X = 0.0;
  s.START_Y = 0.0;
  s.END_X = 230.1;
  s.END_Y = 165.4;
  s.COM_PORT = 0;
  s.COM_SPEED = 0;
  s.COM_FLOW = 1;
  s.BACK_PITCH = 6;
  return s;
}

}  // namespace tenji
