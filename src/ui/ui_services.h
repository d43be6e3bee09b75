// Message boxes and file dialogs go through one replaceable service, so
// that tests can answer them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/alert.h"
#include "platform/hook.h"

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

// The services in the hook, else the window system's own.
UiServices& ui_services();
extern platform::Hook<UiServices*> ui_services_hook;
UiServices& window_system_services();  // provided by the backend

// Called when a dialog's window has appeared and its modal loop runs; tests
// and the screenshots use it to work the dialog.
extern platform::Hook<std::function<void(Dialog&)>> dialog_shown_hook;
void notify_dialog_shown(Dialog& dialog);

}  // namespace tenji::ui
