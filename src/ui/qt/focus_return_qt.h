// The keyboard back where it was when a modal window closes. Qt leaves that
// to the window manager, which gives the focus to a closed window's parent
// only if the parent is still there when it gets to it: a message box that
// closes just before its dialog does (マス数・行数の提示, then the dialog)
// can leave no window with the focus, and the user's next Alt+key goes
// nowhere. Asking for the activation is an event the manager handles in
// turn.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace tenji::ui {

class FocusReturn {
 public:
  FocusReturn() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}
  ~FocusReturn() {
    if (!window_ || !window_->isVisible() || !window_->isEnabled()) return;
    window_->activateWindow();
    if (focus_ && focus_->window() == window_) focus_->setFocus(Qt::ActiveWindowFocusReason);
  }
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

}  // namespace tenji::ui
