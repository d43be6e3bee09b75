// The dialog layer: a modal dialog built from a numbered template, with
// controls reached by id, commands and notifications, and window messages
// with numbers and two parameters. Dialog classes use only this interface,
// so that another window system can stand behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "resources/pixels.h"
#include "resources/resource_ids.h"

namespace tenji::ui {

// The program's own messages start at WM_USER + 2: Windows' dialog manager
// keeps WM_USER and WM_USER + 1 (the default button) for itself.
inline constexpr unsigned WM_USER = 1024;
using resources::IDCANCEL;
using resources::IDOK;

// Notification codes that come with a control's command.
enum Notification : int {
  BN_CLICKED = 0,
  CBN_SELCHANGE = 1,
  EN_CHANGE = 0x0300,
};

class Dialog {
 public:
  // `parent` may be null (a top-level window).
  Dialog(int template_id, Dialog* parent);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally: the initialisation step while the window is
  // still hidden, then the window until end_dialog. Returns its result, or
  // -1 when the window could not be made.
  int do_modal();
  void end_dialog(int result);
  bool ended() const;

  // Queued and handled in order by the modal loop; safe from any thread
  // while the dialog object exists.
  void post_message(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
  // Handled at once, on the calling (user-interface) thread.
  std::intptr_t send_message(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

  // Controls by id.
  std::string item_text(int id) const;
  // The text as read through a buffer of `buffer` characters.
  std::string item_text_limited(int id, int buffer = 8) const;
  void set_item_text(int id, const std::string& text);
  // Shows a label's new text without a screen reader hearing of it: for
  // what changes faster than anyone wants it read.
  void set_item_text_unspoken(int id, const std::string& text);
  void limit_text(int id, int characters);  // binds only what the user types
  void enable_item(int id, bool enabled);
  void show_item(int id, bool shown);
  bool item_enabled(int id) const;
  bool item_shown(int id) const;  // not hidden (whether or not its window is on screen)
  int cur_sel(int id) const;  // -1 for none
  void set_cur_sel(int id, int index);
  // Replaces a drop-down list's items, none selected.
  void set_list_items(int id, const std::vector<std::string>& items);
  void focus_item(int id);
  // A progress bar's position, 0 to 1000.
  void set_progress(int id, int permille);
  int progress(int id) const;
  // Presses a button as a click would.
  void press(int id);
  // A page view's picture, shown from its top left corner.
  void set_item_picture(int id, const resources::Pixels& pixels);
  // The room a control has on the screen, in pixels.
  struct PixelSize {
    int width = 0, height = 0;
  };
  PixelSize item_pixel_size(int id) const;
  // Pixels an inch on the screen the window is on.
  double screen_dpi() const;

  // Commands from menus and buttons, as the window receives them.
  void command(int id, int notification = BN_CLICKED);

  // The window's large and small icons, by icon resource.
  void set_icons(int big_icon_id, int small_icon_id);

  Dialog* parent() const { return parent_; }
  int template_id() const { return template_id_; }
  bool visible() const;
  // Shows or hides the window outside a modal run (for pictures of it).
  void show_window(bool shown);
  // Draws the window into a PNG file; false when it could not be written.
  bool save_picture(const std::string& png_path);

  struct Impl;
  Impl& impl() const { return *impl_; }

 protected:
  virtual bool on_init_dialog() { return true; }
  virtual void on_ok() { end_dialog(IDOK); }
  // Escape, the close box and the Cancel button.
  virtual void on_cancel() { end_dialog(IDCANCEL); }
  // Buttons, menu items and control notifications. The default runs on_ok
  // for IDOK and on_cancel for IDCANCEL; returns true when handled.
  virtual bool on_command(int id, int notification);
  virtual std::intptr_t window_proc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

 private:
  friend struct Impl;
  int template_id_;
  Dialog* parent_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tenji::ui
