// The dialog font and dialog units, the Windows way: the horizontal base is
// the average width of A-Z a-z in the dialog font, the vertical base its
// height; x dialog units are x * base / 4 pixels, y units y * base / 8.
#pragma once

#include <QFont>
#include <QRect>

#include <string>

namespace tenji::ui {

// "ＭＳ Ｐゴシック" falls back to an installed Japanese Gothic.
QFont dialog_font(const std::string& face, int points);

struct DialogUnits {
  int base_x = 0;
  int base_y = 0;
  int x(int units) const { return units * base_x / 4; }
  int y(int units) const { return units * base_y / 8; }
  QRect rect(int x0, int y0, int w, int h) const { return QRect(x(x0), y(y0), x(w), y(h)); }
};

DialogUnits dialog_units_for(const QFont& font);

}  // namespace tenji::ui
