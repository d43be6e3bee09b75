// The main window: four buttons and the menu, one command handler for all.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "ui/dialog.h"

namespace tenji {

class MainDialog : public ui::Dialog {
 public:
  // With a settings path, the program uses that file instead of the one
  // beside it (tenjiprint --settings PATH).
  explicit MainDialog(std::string settings_path = {});

  const std::string& settings_path() const { return settings_path_; }

  // What a command opens, with the main window and the settings path; tests
  // replace entries to see which dialog a command would open.
  using Opener = std::function<void(ui::Dialog& main, const std::string& settings_path)>;
  std::map<int, Opener> openers;

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;

 private:
  void ensure_settings();
  std::string settings_in_use() const;
  // Shows how a print ended in the status line and gives it the focus.
  void tell_end(const std::string& text);
  std::string settings_path_;
  std::string chosen_path_;
};

}  // namespace tenji
