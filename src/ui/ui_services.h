// Message boxes and file dialogs go through one replaceable service, so
// that tests can answer them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/alert.h"

namespace tenji::ui {

class Dialog;

enum class MessageButtons { ok, ok_cancel };

class UiServices {
 public:
  virtual ~UiServices() = default;
  // An empty caption shows the application title. Returns IDOK or IDCANCEL.
  virtual int message_box(Dialog* owner, const std::string& text, const std::string& caption,
                          platform::MessageIcon icon, MessageButtons buttons) = 0;
  // `filter` as "*.brs|*.brs|*.*|*.*||": label, pattern, label, pattern.
  virtual std::optional<std::string> open_file(Dialog* owner, const std::string& filter) = 0;
  virtual std::optional<std::string> save_file(Dialog* owner, const std::string& filter) = 0;
};

UiServices& ui_services();
void set_ui_services(UiServices* services);  // null restores the desktop's own

// Called when a dialog's window has appeared and its modal loop runs; tests
// use it to work the dialog.
void set_dialog_shown_hook(std::function<void(Dialog&)> hook);
void notify_dialog_shown(Dialog& dialog);

// "*.NRK|*.nrk|*.*|*.*||" as a Qt filter: "*.NRK (*.nrk);;*.* (*)".
std::string qt_file_filter(const std::string& filter);

}  // namespace tenji::ui
