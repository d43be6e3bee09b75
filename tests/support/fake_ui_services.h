// Answers message boxes and file dialogs for window tests, and records them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

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
  std::optional<std::string> save_file(ui::Dialog* owner, const std::string& filter) override {
    return open_file(owner, filter);
  }

  std::vector<Box> boxes;
  int answer = ui::IDOK;  // how every message box is closed
  std::vector<std::string> filters;
  std::optional<std::string> next_file;  // nothing: the user cancels
  std::function<void()> before_file_dialog;

 private:
  platform::ScopedHook<ui::UiServices*> installed_{ui::ui_services_hook, this};
};

}  // namespace tenji::testing
