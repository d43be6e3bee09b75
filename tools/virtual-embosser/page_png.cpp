// The page picture as PNG, drawn with Qt's raster painter.
#include <QImage>
#include <QPainter>

#include "page_output.h"

namespace tenji::embosser {

bool write_page_png(const Page& page, const Paper& paper, const std::string& path) {
  constexpr double px_per_mm = 6.0;
  const double w = paper.width_mm + 2 * MARGIN_MM, h = paper.height_mm + 2 * MARGIN_MM;
  QImage image(static_cast<int>(w * px_per_mm), static_cast<int>(h * px_per_mm), QImage::Format_RGB32);
  image.fill(QColor(0xe8, 0xe8, 0xe8));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(px_per_mm, px_per_mm);
  p.setPen(QPen(Qt::black, 0.2));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(MARGIN_MM, MARGIN_MM, paper.width_mm, paper.height_mm));

  p.setPen(QPen(Qt::black, 0.12));
  auto tick = [](int mm) { return mm % 10 == 0 ? 4.0 : mm % 5 == 0 ? 2.5 : 1.2; };
  for (int mm = 0; mm <= static_cast<int>(paper.width_mm); ++mm)
    p.drawLine(QPointF(MARGIN_MM + mm, MARGIN_MM - tick(mm)), QPointF(MARGIN_MM + mm, MARGIN_MM));
  for (int mm = 0; mm <= static_cast<int>(paper.height_mm); ++mm)
    p.drawLine(QPointF(MARGIN_MM - tick(mm), MARGIN_MM + mm), QPointF(MARGIN_MM, MARGIN_MM + mm));

  QFont font("sans-serif");
  font.setPixelSize(15);
  p.save();
  p.resetTransform();
  p.setFont(font);
  for (int mm = 10; mm <= static_cast<int>(paper.width_mm); mm += 10)
    p.drawText(QRectF((MARGIN_MM + mm - 5) * px_per_mm, 0, 10 * px_per_mm, (MARGIN_MM - 4.5) * px_per_mm),
               Qt::AlignHCenter | Qt::AlignBottom, QString::number(mm));
  for (int mm = 10; mm <= static_cast<int>(paper.height_mm); mm += 10)
    p.drawText(QRectF(0, (MARGIN_MM + mm - 3) * px_per_mm, (MARGIN_MM - 4.5) * px_per_mm, 6 * px_per_mm),
               Qt::AlignRight | Qt::AlignVCenter, QString::number(mm));
  p.restore();

  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (const Dot& d : page.dots) {
    const double r = dot_radius_mm(d.size);
    p.drawEllipse(QPointF(MARGIN_MM + static_cast<double>(d.y) * Y_STEP_MM,
                          MARGIN_MM + static_cast<double>(d.x) * X_STEP_MM),
                  r, r);
  }
  p.end();
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace tenji::embosser
