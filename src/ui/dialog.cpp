// What a dialog does the same over every window system.
#include "ui/dialog.h"

namespace tenji::ui {

// Sent messages reach the window's procedure at once, on the calling thread.
std::intptr_t Dialog::send_message(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  return window_proc(message, wparam, lparam);
}

std::intptr_t Dialog::window_proc(unsigned, std::uintptr_t, std::intptr_t) { return 0; }

bool Dialog::on_command(int id, int notification) {
  if (notification != BN_CLICKED) return false;
  if (id == IDOK) {
    on_ok();
    return true;
  }
  if (id == IDCANCEL) {
    on_cancel();
    return true;
  }
  return false;
}

void Dialog::command(int id, int notification) { on_command(id, notification); }

}  // namespace tenji::ui
