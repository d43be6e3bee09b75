// The keyboard back where it was when a modal window closes.
#pragma once

#include "ui/win32/windows_api.h"

namespace tenji::ui {

class FocusReturn {
 public:
  // `settle`: before the program goes on, the window system is given a
  // moment to hand the keyboard back. Under a window manager (Wine on X) a
  // message box that closes just before its owner does leaves no window
  // with the focus, and the user's next Alt+key goes nowhere: the manager
  // gives the focus to the owner, then to the owner's owner, only if each
  // is still there when it gets to it.
  explicit FocusReturn(bool settle = false)
      : settle_(settle), active_(GetActiveWindow()), focus_(GetFocus()) {}
  ~FocusReturn();
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  bool settle_;
  HWND active_;
  HWND focus_;
};

}  // namespace tenji::ui
