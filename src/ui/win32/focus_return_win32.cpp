#include "ui/win32/focus_return_win32.h"

namespace tenji::ui {

namespace {

constexpr DWORD SETTLE_MS = 250;

// Lets the window system's own events (focus handed over by a window
// manager) be handled, without taking any message from the queue.
void let_focus_settle() {
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < SETTLE_MS; waited = GetTickCount() - start) {
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, SETTLE_MS - waited, QS_ALLINPUT);
  }
}

}  // namespace

FocusReturn::~FocusReturn() {
  // Only a window that can take the keyboard now: not one closed meanwhile,
  // hidden, or disabled under another modal window.
  if (!active_ || !IsWindow(active_) || !IsWindowVisible(active_) || !IsWindowEnabled(active_)) return;
  if (settle_) let_focus_settle();
  if (GetActiveWindow() != active_) SetActiveWindow(active_);
  if (focus_ && IsWindow(focus_) && IsChild(active_, focus_) && GetFocus() != focus_) SetFocus(focus_);
}

}  // namespace tenji::ui
