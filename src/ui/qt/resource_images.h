// The program's pictures as Qt shows them: icons 146 and 147 and bitmap 137,
// the geometry picture of the dot-spacing dialog, from the pixels our own
// code draws.
#pragma once

#include <QIcon>
#include <QImage>

namespace tenji::ui {

QImage icon_image(int icon_id);
QIcon window_icon(int big_id, int small_id);
QImage resource_bitmap(int bitmap_id);

}  // namespace tenji::ui
