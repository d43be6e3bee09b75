#include "config/layout_rules.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "config/value_text.h"

namespace tenji {

namespace {

// Truncation toward zero, with the counts that make no sense kept at 0.
int count_of(double quotient) {
  if (!std::isfinite(quotient) || quotient <= 0) return 0;
  if (quotient >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(quotient);
}

bool within(double v, double lo, double hi) { return lo <= v && v <= hi; }

}  // namespace

double quantise(double length_mm, double step_mm) { return mm_to_steps(length_mm, step_mm) * step_mm; }

AreaLimits area_limits(int paper_selection) {
  if (paper_selection == 1) return {230.1, 165.4};
  return {251.4, 206.8};
}

ValueRange spacing_range(int check) {
  switch (check) {
    case 1: return {2.0, 5.08};
    case 2: return {2.0, 5.0};
    case 3: return {3.0, 7.0};
    default: return {6.0, 8.0};
  }
}

int first_failed_check(const LayoutFields& f) {
  const AreaLimits limits = area_limits(f.paper_selection);
  const double spacings[] = {f.ten_height, f.ten_width, f.masu_between, f.gyo_between};
  for (int check = 1; check <= 4; ++check)
    if (!within(spacings[check - 1], spacing_range(check).lo, spacing_range(check).hi)) return check;
  if (!within(f.start_x, 0.0, limits.max_x)) return 5;
  if (!within(f.start_y, 0.0, limits.max_y)) return 6;
  if (!within(f.end_x, 0.0, limits.max_x)) return 7;
  if (!within(f.end_y, 0.0, limits.max_y)) return 8;
  if (!(f.start_x < f.end_x && f.start_y < f.end_y)) return 9;
  return 0;
}

const char* check_message(int check) {
  switch (check) {
    case 1: return "縦点間の値が範囲内ではありません。";
    case 2: return "横点間の値が範囲内ではありません。";
    case 3: return "マス間の値が範囲内ではありません。";
    case 4: return "行間の値が範囲内ではありません。";
    case 5: return "印刷領域 Ｘ座標開始点の値が範囲内ではありません。";
    case 6: return "印刷領域 Ｙ座標開始点の値が範囲内ではありません。";
    case 7: return "印刷領域 Ｘ座標終了点の値が範囲内ではありません。";
    case 8: return "印刷領域 Ｙ座標終了点の値が範囲内ではありません。";
    case 9: return "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。";
    default: return "";
  }
}

void compute_capacity(PrintSettings& s) {
  // The back pitch counts with two decimals: 6 steps are 1.91 mm.
  const double back = text_to_real(format_real(s.BACK_PITCH * VERTICAL_STEP_MM, 2));
  s.LPP = count_of((s.END_X - s.START_X + s.GYO_BETWEEN - back) / (2 * s.TEN_HEIGHT + s.GYO_BETWEEN));
  s.CPL = count_of((s.END_Y - s.START_Y + s.MASU_BETWEEN) / (s.MASU_BETWEEN + s.TEN_WIDTH));
}

std::string fit_number(double value, int decimals, std::size_t width) {
  for (int d = decimals; d >= 0; --d) {
    const std::string text = format_real(value, d);
    if (text.size() <= width) return text;
  }
  return format_real(value, 0).substr(0, width);
}

std::string capacity_message(int cpl, int lpp) {
  char text[256];
  std::snprintf(text, sizeof text, "　 １行に印刷できるマス数：%dマス\n１ページに印刷できる行数：%d行", cpl, lpp);
  return text;
}

}  // namespace tenji
