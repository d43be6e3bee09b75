#include "ui/qt/resource_images.h"

#include "resources/pixels.h"
#include "resources/resource_ids.h"

namespace tenji::ui {

namespace {

QImage image_of(const resources::Pixels& p) {
  return QImage(reinterpret_cast<const uchar*>(p.argb.data()), p.width, p.height, p.width * 4, QImage::Format_ARGB32)
      .copy();
}

}  // namespace

QImage icon_image(int icon_id) { return image_of(resources::icon_pixels(icon_id)); }

QIcon window_icon(int big_id, int small_id) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(icon_image(big_id)));
  icon.addPixmap(QPixmap::fromImage(icon_image(small_id).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  return icon;
}

QImage resource_bitmap(int bitmap_id) {
  if (bitmap_id == resources::IDB_GEOMETRY) return image_of(resources::geometry_picture());
  return QImage();
}

}  // namespace tenji::ui
