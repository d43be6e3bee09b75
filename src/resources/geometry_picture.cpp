#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "resources/dialog_template.h"
#include "resources/pixels.h"
#include "resources/resource_ids.h"

namespace tenji::resources {

namespace {

// The picture's few characters, 12 x 12 pixels each, as ink levels '.' (none)
// and '0'-'f'.
struct Glyph {
  const char* text;
  const char* rows[12];
};

const Glyph GLYPHS[] = {
  {"横", {
     "..94..c..c..",
     "..944bebbeb5",
     "28ca6.c..c..",
     "14d79becceb9",
     ".1f6.55aa551",
     ".6dd6d6aa6c3",
     "1c956eaddad3",
     "5894.b.78.93",
     "1194.cbbbcc3",
     "..94.5d31bb2",
     "..948c3...6a",
     "....1.......",
  }},
  {"点", {
     ".....e1.....",
     ".....e1.....",
     ".....edddd7.",
     ".....e1.....",
     "..ecccccce..",
     "..d......d..",
     "..d111111d..",
     "..abbbbbba..",
     "..917.832c1.",
     ".5b.c16b.98.",
     "1c3.941a11a.",
     ".1..........",
  }},
  {"間", {
     "............",
     ".dbbb8cbbbd.",
     ".daab8caaad.",
     ".d7788c777d.",
     ".d44424444d.",
     ".d.2cbbc3.d.",
     ".d.2b33b4.d.",
     ".d.2d77c4.d.",
     ".d.2d99d4.d.",
     ".d.2b22211d.",
     ".d.11...bda.",
     "............",
  }},
  {"マ", {
     "............",
     "............",
     ".aeeeeeeee5.",
     ".11111..7c1.",
     "...1...5d2..",
     "...a916d2...",
     "...1bcc2....",
     "....1ba.....",
     ".....1d8....",
     "......23....",
     "............",
     "............",
  }},
  {"ス", {
     "............",
     "..2233331...",
     "..8ccccdb...",
     ".......b6...",
     "......3e1...",
     ".....1c5....",
     ".....9f5....",
     "...1ab3d81..",
     "..4ca1.1ca1.",
     ".7e6....1c6.",
     ".11......1..",
     "............",
  }},
  {"縦", {
     "..73.346227.",
     ".2c21a47767.",
     "3e4c6b.37b2.",
     ".8a8639cdec4",
     ".1c8286.58..",
     "4cdc8f1b581.",
     "14c3be.c5dc1",
     "1bb94c1c58..",
     "2ab66c4f68..",
     "58b34c88e8..",
     "12b..c923bd7",
     "......1.....",
  }},
  {"行", {
     "..14........",
     ".1b52ccccc5.",
     "1b81........",
     "361d2.......",
     "..979cccfdc1",
     ".7f4....c2..",
     "5cc4....c2..",
     "21b4....c2..",
     "..b4....c2..",
     "..b4.121c2..",
     "..b4.1ddc1..",
     "............",
  }},
};

struct Point {
  double x, y;
};

class Canvas {
 public:
  Canvas(int width, int height, std::uint32_t background) {
    pixels_.width = width;
    pixels_.height = height;
    pixels_.argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u | background);
  }

  // Mixes `colour` into a pixel by `cover` (0 to 1).
  void blend(int x, int y, std::uint32_t colour, double cover) {
    if (x < 0 || y < 0 || x >= pixels_.width || y >= pixels_.height || cover <= 0) return;
    cover = std::min(cover, 1.0);
    std::uint32_t& p = pixels_.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels_.width) + static_cast<std::size_t>(x)];
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      const double a = (p >> shift) & 0xFF, b = (colour >> shift) & 0xFF;
      out |= static_cast<std::uint32_t>(std::lround(a + (b - a) * cover)) << shift;
    }
    p = out;
  }

  // Edges are smoothed by the share of each pixel that lies inside (4 x 4 samples).
  template <typename Inside>
  void fill(double x0, double y0, double x1, double y1, std::uint32_t colour, Inside inside) {
    for (int y = static_cast<int>(std::floor(y0)); y <= static_cast<int>(std::ceil(y1)); ++y)
      for (int x = static_cast<int>(std::floor(x0)); x <= static_cast<int>(std::ceil(x1)); ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
        blend(x, y, colour, hits / 16.0);
      }
  }

  void disc(Point c, double r, std::uint32_t colour) {
    fill(c.x - r, c.y - r, c.x + r, c.y + r, colour,
         [&](double x, double y) { return (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y) <= r * r; });
  }

  // A line `width` wide; dotted ones leave every other pixel out.
  void line(Point a, Point b, double width, std::uint32_t colour, bool dotted = false) {
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy, h = width / 2;
    fill(std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h, std::max(a.y, b.y) + h, colour,
         [&](double x, double y) {
           const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0;
           if (dotted && static_cast<int>(t * std::sqrt(length2)) % 2 == 1) return false;
           const double px = a.x + t * dx - x, py = a.y + t * dy - y;
           return px * px + py * py <= h * h;
         });
  }

  // A shaft with a head of two 5-pixel strokes, 30 degrees off it, at each end.
  void arrow(Point a, Point b, std::uint32_t colour) {
    line(a, b, 1.4, colour);
    for (const auto& [tip, from] : {std::pair{a, b}, std::pair{b, a}}) {
      const double angle = std::atan2(from.y - tip.y, from.x - tip.x);
      for (double turn : {0.5235987755982988, -0.5235987755982988})
        line(tip, {tip.x + 5 * std::cos(angle + turn), tip.y + 5 * std::sin(angle + turn)}, 1.4, colour);
    }
  }

  // `text` (UTF-8, of the picture's characters) with its top-left at (x, y).
  void text(int x, int y, std::string_view text, std::uint32_t colour) {
    while (!text.empty()) {
      for (const Glyph& g : GLYPHS) {
        const std::size_t n = std::strlen(g.text);
        if (text.substr(0, n) != g.text) continue;
        for (int row = 0; row < 12; ++row)
          for (int col = 0; col < 12; ++col) {
            const char c = g.rows[row][col];
            if (c != '.') blend(x + col, y + row, colour, (c <= '9' ? c - '0' + 1 : c - 'a' + 11) / 16.0);
          }
        text.remove_prefix(n);
        x += 12;
        goto next;
      }
      text.remove_prefix(1);  // not in the picture's set: left out
    next:;
    }
  }
  // Centred in the box whose left edge is x and width w (the characters are
  // three bytes each in UTF-8).
  void text_centred(double x, double w, int y, std::string_view s, std::uint32_t colour) {
    text(static_cast<int>(std::lround(x + (w - 12.0 * (s.size() / 3)) / 2)), y, s, colour);
  }

  Pixels take() { return std::move(pixels_); }

 private:
  Pixels pixels_;
};

}  // namespace

Pixels geometry_picture() {
  Canvas c(224, 224, 0xFFFFFF);
  // Cell layout in pixels: columns 22 apart, cells 58 apart, dot rows 24
  // apart, lines 106 apart.
  const double x0 = 40, col = 22, cell = 58, row = 24, y0 = 44, line = 106, r = 5.5;
  const std::uint32_t blue = 0x0040C0, grey = 0xA0A0A0;
  const double right = x0 + cell + col + 18;
  // Guides along the rows that 行間 is measured between, under the dots.
  c.line({x0, y0 + 2 * row}, {right, y0 + 2 * row}, 1, grey, true);
  c.line({x0, y0 + line}, {right, y0 + line}, 1, grey, true);
  for (int l = 0; l < 2; ++l)
    for (int m = 0; m < 2; ++m)
      for (int k = 0; k < 2; ++k)
        for (int d = 0; d < 3; ++d) c.disc({x0 + m * cell + k * col, y0 + l * line + d * row}, r, 0x000000);

  const double top = y0 - 16;
  // 横点間: between the two columns of the first cell.
  c.arrow({x0, top}, {x0 + col, top}, blue);
  c.text_centred(x0 - 20, col + 40, static_cast<int>(top) - 14, "横点間", blue);
  // マス間: from the right column of the first cell to the left one of the next.
  c.arrow({x0 + col, top + 8}, {x0 + cell, top + 8}, blue);
  c.text_centred(x0 + col + 6, cell, static_cast<int>(top) - 14, "マス間", blue);
  // 縦点間: between dot rows, right of the second cell.
  c.arrow({right, y0}, {right, y0 + row}, blue);
  c.text(static_cast<int>(right) + 4, static_cast<int>(y0) + 5, "縦点間", blue);
  // 行間: from the bottom row of the first line to the top row of the next.
  c.arrow({right, y0 + 2 * row}, {right, y0 + line}, blue);
  c.text(static_cast<int>(right) + 4, static_cast<int>(y0 + 2 * row + (line - 2 * row) / 2) - 6, "行間", blue);
  return c.take();
}

}  // namespace tenji::resources
