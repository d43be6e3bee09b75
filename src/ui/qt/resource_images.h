// The program's pictures: icons 146 and 147 from their pixel data, and
// bitmap 137, the geometry picture of the dot-spacing dialog.
#pragma once

#include <QIcon>
#include <QImage>

namespace tenji::ui {

QImage icon_image(int icon_id);
QIcon window_icon(int big_id, int small_id);

// Four cells in two lines with arrows for 横点間, マス間, 縦点間 and 行間,
// 224 x 224 pixels.
QImage geometry_picture();

QImage resource_bitmap(int bitmap_id);

}  // namespace tenji::ui
