// The window messages of the desktop program, all above WM_USER.
#pragma once

#include "ui/dialog.h"

namespace tenji {

// To the printing dialog.
inline constexpr unsigned WM_JOB_DONE = ui::WM_USER + 2;     // wparam: 1 finished or cancelled, 2 not printed
inline constexpr unsigned WM_SET_COPIES = ui::WM_USER + 3;   // wparam: copies
inline constexpr unsigned WM_SET_PITCH = ui::WM_USER + 4;    // wparam: X, lparam: Y (steps)
inline constexpr unsigned WM_JOB_MESSAGE = ui::WM_USER + 100;   // lparam: the job's message box, waiting
inline constexpr unsigned WM_JOB_PROGRESS = ui::WM_USER + 101;  // the latest progress report is waiting

}  // namespace tenji
