// Pictures between our pixels and Windows' bitmaps and icons.
#pragma once

#include "ui/win32/windows_api.h"

#include "resources/pixels.h"

namespace tenji::ui {

// A 32-bit DIB section of the pixels; the caller deletes it.
HBITMAP bitmap_of(const resources::Pixels& pixels);
// Icon `id` at `size` pixels: the executable's icon resource, or, in a
// program without it, made from the same data. The caller destroys it.
HICON icon_of(int id, int size);
// What the window shows now, frame included.
resources::Pixels capture_window(HWND window);

}  // namespace tenji::ui
