// What a user does to a dialog, through the window system in use: keys
// typed into a control, Escape, the menu bar, and a later moment on the
// window's own loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "ui/dialog.h"

namespace tenji::testing {

// Types `text` into control `id`, a key at a time, as the user would: the
// control's typing rules apply.
void type_keys(ui::Dialog& dialog, int id, const std::string& text);
// Types `text` where the focus is, as a user who starts typing at once.
void type_at_focus(ui::Dialog& dialog, const std::string& text);
// Enter pressed in control `id`, handled by the dialog's loop.
void press_enter(ui::Dialog& dialog, int id);
// Escape pressed in the dialog (handled by its loop before `then` runs).
void press_escape(ui::Dialog& dialog, const std::function<void()>& then);
// A key of the dialog's accelerators pressed where the focus is (with Ctrl
// held if `ctrl`), handled by its loop before `then` runs.
void press_key(ui::Dialog& dialog, resources::Key key, bool ctrl, const std::function<void()>& then);
// The close box.
void close_window(ui::Dialog& dialog);
// The items of the menu bar's pop-up `popup`, as their texts.
std::vector<std::string> menu_items(ui::Dialog& dialog, int popup);
// Chooses item `index` of pop-up `popup`.
void choose_menu_item(ui::Dialog& dialog, int popup, int index);
// Runs `work` on the user-interface thread every `ms` milliseconds while a
// loop runs, until it returns false.
void every(int ms, const std::function<bool()>& work);
// Calls `work` when the dialog's window closes.
void when_closed(ui::Dialog& dialog, const std::function<void()>& work);

}  // namespace tenji::testing
