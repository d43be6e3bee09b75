// For window tests: message boxes and file dialogs answered and recorded,
// and dialogs run as a user meets them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "ui/dialog.h"
#include "ui/ui_services.h"

namespace tenji::testing {

class FakeUiServices final : public ui::UiServices {
 public:
  struct Box {
    std::string text, caption;
    platform::MessageIcon icon;
    bool operator==(const Box&) const = default;
  };

  int message_box(ui::Dialog*, const std::string& text, const std::string& caption, platform::MessageIcon icon,
                  ui::MessageButtons) override {
    boxes.push_back({text, caption, icon});
    return answer;
  }
  std::optional<std::string> open_file(ui::Dialog*, const std::string& filter) override {
    filters.push_back(filter);
    if (before_file_dialog) before_file_dialog();
    return next_file;
  }
  std::optional<std::string> save_file(ui::Dialog* d, const std::string& f) override { return open_file(d, f); }

  std::vector<Box> boxes;
  int answer = ui::IDOK;  // how every message box is closed
  std::vector<std::string> filters;
  std::optional<std::string> next_file;  // nothing: the user cancels
  std::function<void()> before_file_dialog;

 private:
  platform::ScopedHook<ui::UiServices*> installed_{ui::ui_services_hook, this};
};

using DialogWork = std::function<void(ui::Dialog&)>;

// Runs `dialog` modally, with `work` done on it once its window is shown.
// Dialogs it opens meanwhile go to `others`, or are cancelled. Any reach for
// a control the dialog's template lacks fails the test.
inline int run_dialog(ui::Dialog& dialog, const DialogWork& work, const DialogWork& others = {}) {
  platform::ScopedHook shown(ui::dialog_shown_hook, [&](ui::Dialog& d) {
    const DialogWork& act = &d == &dialog ? work : others;
    if (act)
      act(d);
    else if (&d != &dialog)
      d.end_dialog(ui::IDCANCEL);
  });
  platform::ScopedHook missing(platform::debug_output_hook, [](std::string_view text) {
    if (text.find("has no control") != std::string_view::npos) ADD_FAILURE() << text;
  });
  return dialog.do_modal();
}

}  // namespace tenji::testing
