// Answers message boxes and file dialogs for window tests, and records them.
#pragma once

#include <deque>
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
  };

  FakeUiServices() { ui::set_ui_services(this); }
  ~FakeUiServices() override {
    ui::set_ui_services(nullptr);
    ui::set_dialog_shown_hook({});
  }

  int message_box(ui::Dialog*, const std::string& text, const std::string& caption, platform::MessageIcon icon,
                  ui::MessageButtons) override {
    boxes.push_back({text, caption, icon});
    return ui::IDOK;
  }
  std::optional<std::string> open_file(ui::Dialog*, const std::string& filter) override {
    filters.push_back(filter);
    return next_file;
  }
  std::optional<std::string> save_file(ui::Dialog*, const std::string& filter) override {
    filters.push_back(filter);
    return next_file;
  }

  std::vector<Box> boxes;
  std::vector<std::string> filters;
  std::optional<std::string> next_file;  // nothing: the user cancels
};

}  // namespace tenji::testing
