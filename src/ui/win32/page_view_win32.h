// The page view control of the Win32 backend: a window class that shows a
// picture from its top left corner and scrolls it when it is larger.
#pragma once

#include "ui/win32/windows_api.h"

#include "resources/pixels.h"

namespace tenji::ui {

inline constexpr const wchar_t* PAGE_VIEW_CLASS = L"TenjiPageView";

// Registers the class once; before the first dialog that has one is made.
void register_page_view_class();
// The picture it shows from now on.
void set_page_view_picture(HWND view, const resources::Pixels& pixels);

}  // namespace tenji::ui
