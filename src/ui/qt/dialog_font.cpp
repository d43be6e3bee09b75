#include "ui/qt/dialog_font.h"

#include <QFontMetrics>
#include <QStringList>

namespace tenji::ui {

QFont dialog_font(const std::string& face, int points) {
  QFont font;
  font.setFamilies(QStringList{QString::fromStdString(face), "MS PGothic", "IPAPGothic", "IPAGothic",
                               "Noto Sans CJK JP"});
  font.setPointSize(points);
  return font;
}

DialogUnits dialog_units_for(const QFont& font) {
  const QFontMetrics m(font);
  const int width = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits{(width / 26 + 1) / 2, m.height()};
}

}  // namespace tenji::ui
