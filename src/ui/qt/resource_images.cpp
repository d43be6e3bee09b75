#include "ui/qt/resource_images.h"

#include <QPainter>
#include <QPainterPath>

#include "resources/dialog_template.h"
#include "resources/resource_ids.h"
#include "ui/qt/dialog_font.h"

namespace tenji::ui {

QImage icon_image(int icon_id) {
  const auto& icon = resources::icon_template(icon_id);
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < 32 && y < static_cast<int>(icon.rows.size()); ++y)
    for (int x = 0; x < 32 && x < static_cast<int>(icon.rows[static_cast<std::size_t>(y)].size()); ++x) {
      const char c = icon.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      if (c != ' ') image.setPixel(x, y, 0xFF000000u | resources::icon_palette_colour(c));
    }
  return image;
}

QIcon window_icon(int big_id, int small_id) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(icon_image(big_id)));
  icon.addPixmap(QPixmap::fromImage(icon_image(small_id).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  return icon;
}

namespace {

void arrow(QPainter& p, QPointF a, QPointF b) {
  p.drawLine(a, b);
  for (const auto& [tip, from] : {std::pair{a, b}, std::pair{b, a}}) {
    QLineF l(tip, from);
    l.setLength(5);
    QLineF left = l, right = l;
    left.setAngle(l.angle() + 30);
    right.setAngle(l.angle() - 30);
    p.drawLine(left);
    p.drawLine(right);
  }
}

}  // namespace

QImage geometry_picture() {
  QImage image(224, 224, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Cell layout in pixels: columns 22 apart, cells 58 apart, rows 24 apart,
  // lines 110 apart.
  const double x0 = 40, col = 22, cell = 58, row = 24, y0 = 44, line = 106, r = 5.5;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (int l = 0; l < 2; ++l)
    for (int c = 0; c < 2; ++c)
      for (int k = 0; k < 2; ++k)
        for (int d = 0; d < 3; ++d)
          p.drawEllipse(QPointF(x0 + c * cell + k * col, y0 + l * line + d * row), r, r);

  p.setPen(QPen(QColor(0x00, 0x40, 0xC0), 1.4));
  QFont font = dialog_font("ＭＳ Ｐゴシック", 9);
  font.setPixelSize(12);
  p.setFont(font);
  const double top = y0 - 16;
  // 横点間: between the two columns of the first cell.
  arrow(p, {x0, top}, {x0 + col, top});
  p.drawText(QRectF(x0 - 20, top - 14, col + 40, 12), Qt::AlignCenter, "横点間");
  // マス間: from the right column of the first cell to the left one of the next.
  arrow(p, {x0 + col, top + 8}, {x0 + cell, top + 8});
  p.drawText(QRectF(x0 + col + 6, top - 14, cell, 12), Qt::AlignCenter, "マス間");
  // 縦点間: between dot rows, right of the second cell.
  const double right = x0 + cell + col + 18;
  arrow(p, {right, y0}, {right, y0 + row});
  p.drawText(QRectF(right + 4, y0 + 4, 60, 14), Qt::AlignLeft | Qt::AlignVCenter, "縦点間");
  // 行間: from the bottom row of the first line to the top row of the next.
  arrow(p, {right, y0 + 2 * row}, {right, y0 + line});
  p.drawText(QRectF(right + 4, y0 + 2 * row + (line - 2 * row) / 2 - 7, 60, 14), Qt::AlignLeft | Qt::AlignVCenter,
             "行間");
  p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1, Qt::DotLine));
  p.drawLine(QPointF(x0, y0 + 2 * row), QPointF(right, y0 + 2 * row));
  p.drawLine(QPointF(x0, y0 + line), QPointF(right, y0 + line));
  p.end();
  return image;
}

QImage resource_bitmap(int bitmap_id) {
  if (bitmap_id == resources::IDB_GEOMETRY) return geometry_picture();
  return QImage();
}

}  // namespace tenji::ui
