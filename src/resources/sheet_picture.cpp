#include "resources/sheet_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tenji::resources {

namespace {

constexpr std::uint8_t MARGIN = 232, PAPER = 255, INK = 0, AREA = 150;

// Digits of 3 x 5 cells for the scales' numbers.
constexpr const char* DIGITS[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"}, {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"}, {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", "..#", "..#", "..#"}, {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"}};

class Canvas {
 public:
  Canvas(int w, int h, std::uint8_t fill) { p_ = {w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h, fill)}; }
  void set(int x, int y, std::uint8_t v) {
    if (x >= 0 && y >= 0 && x < p_.width && y < p_.height) p_.grey[static_cast<std::size_t>(y) * p_.width + x] = v;
  }
  // Darkens towards `v` by `share` (0 to 1): smoothed edges.
  void blend(int x, int y, std::uint8_t v, double share) {
    if (x < 0 || y < 0 || x >= p_.width || y >= p_.height) return;
    std::uint8_t& at = p_.grey[static_cast<std::size_t>(y) * p_.width + x];
    at = static_cast<std::uint8_t>(std::lround(at + (v - at) * share));
  }
  void fill(int x0, int y0, int x1, int y1, std::uint8_t v) {
    x0 = std::max(x0, 0), x1 = std::min(x1, p_.width);
    if (x1 <= x0) return;
    for (int y = std::max(y0, 0); y < std::min(y1, p_.height); ++y)
      std::fill_n(p_.grey.begin() + static_cast<std::ptrdiff_t>(y) * p_.width + x0, x1 - x0, v);
  }
  void number(int value, int centre_x, int top, int cell, bool right_aligned) {
    const std::string text = std::to_string(value);
    const int width = static_cast<int>(text.size()) * 4 * cell - cell;
    int x = right_aligned ? centre_x - width : centre_x - width / 2;
    for (char c : text) {
      for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
          if (DIGITS[c - '0'][row][col] == '#') fill(x + col * cell, top + row * cell, x + (col + 1) * cell, top + (row + 1) * cell, INK);
      x += 4 * cell;
    }
  }
  // A disc, its edge smoothed by sampling the pixels it crosses 4 x 4 times.
  void disc(double cx, double cy, double r) {
    constexpr double HALF_DIAGONAL = 0.7072;
    for (int y = static_cast<int>(std::floor(cy - r)); y <= static_cast<int>(std::ceil(cy + r)); ++y)
      for (int x = static_cast<int>(std::floor(cx - r)); x <= static_cast<int>(std::ceil(cx + r)); ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d >= r + HALF_DIAGONAL) continue;
        if (d <= r - HALF_DIAGONAL) {
          set(x, y, INK);
          continue;
        }
        int inside = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) {
            const double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
            inside += dx * dx + dy * dy <= r * r;
          }
        if (inside) blend(x, y, INK, inside / 16.0);
      }
  }
  GreyPixels take() { return std::move(p_); }

 private:
  GreyPixels p_;
};

}  // namespace

GreyPixels sheet_picture(const SheetDrawing& s, double ppm) {
  auto px = [ppm](double mm) { return static_cast<int>(std::lround(mm * ppm)); };
  const double m = SHEET_MARGIN_MM;
  Canvas c(px(s.paper_across_mm + 2 * m), px(s.paper_down_mm + 2 * m), MARGIN);
  const int left = px(m), top = px(m), right = px(m + s.paper_across_mm), bottom = px(m + s.paper_down_mm);
  c.fill(left, top, right, bottom, PAPER);
  const int line = std::max(1, px(0.15));
  c.fill(left - line, top - line, right + line, top, INK);
  c.fill(left - line, bottom, right + line, bottom + line, INK);
  c.fill(left - line, top, left, bottom, INK);
  c.fill(right, top, right + line, bottom, INK);

  // Scales: a tick every millimetre, longer every 5 and 10, numbered every 10.
  const int tick = std::max(1, px(0.12));
  const int cell = std::max(1, px(2.5) / 5);
  auto length = [&](int mm) { return px(mm % 10 == 0 ? 4.0 : mm % 5 == 0 ? 2.5 : 1.2); };
  for (int mm = 0; mm <= static_cast<int>(s.paper_across_mm); ++mm) {
    const int x = px(m + mm);
    c.fill(x, top - length(mm), x + tick, top, INK);
    if (mm > 0 && mm % 10 == 0) c.number(mm, x, top - px(4.5) - 5 * cell, cell, false);
  }
  for (int mm = 0; mm <= static_cast<int>(s.paper_down_mm); ++mm) {
    const int y = px(m + mm);
    c.fill(left - length(mm), y, left, y + tick, INK);
    if (mm > 0 && mm % 10 == 0) c.number(mm, left - px(5), y - 5 * cell / 2, cell, true);
  }

  if (s.print_area) {  // dashed, a millimetre on and off
    const auto& a = *s.print_area;
    const int x0 = px(m + a.start_across_mm), x1 = px(m + a.end_across_mm);
    const int y0 = px(m + a.start_down_mm), y1 = px(m + a.end_down_mm);
    const int dash = std::max(2, px(1.0));
    for (int x = x0; x < x1; ++x)
      if ((x - x0) / dash % 2 == 0) c.set(x, y0, AREA), c.set(x, y1, AREA);
    for (int y = y0; y < y1; ++y)
      if ((y - y0) / dash % 2 == 0) c.set(x0, y, AREA), c.set(x1, y, AREA);
  }

  for (const auto& d : s.dots) c.disc((m + d.across_mm) * ppm, (m + d.down_mm) * ppm, d.radius_mm * ppm);
  return c.take();
}

Pixels to_argb(const GreyPixels& g) {
  Pixels p{g.width, g.height, std::vector<std::uint32_t>(g.grey.size())};
  for (std::size_t i = 0; i < g.grey.size(); ++i) p.argb[i] = 0xFF000000u | 0x010101u * g.grey[i];
  return p;
}

}  // namespace tenji::resources
