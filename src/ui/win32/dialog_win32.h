// The Win32 side of the dialog layer, for the layer's own code and for tests.
#pragma once

#include "ui/win32/windows_api.h"

#include "ui/dialog.h"

namespace tenji::ui {

// The dialog's window while it exists, else null.
HWND dialog_hwnd(const Dialog& dialog);
// The window of `dialog`, or of its nearest ancestor, that is on screen.
HWND visible_window(const Dialog* dialog);
// Where an unexpected failure of a window function goes.
void report_win32_failure(const char* what);

}  // namespace tenji::ui
