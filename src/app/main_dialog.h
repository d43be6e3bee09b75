// The main window: four buttons and the menu, one command handler for all.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "ui/dialog.h"

namespace tenji {

enum Command : int {
  CMD_ABOUT = 32772,
  CMD_DOT_SPACING = 32773,
  CMD_PORT_SETTINGS = 32774,
  CMD_EXIT = 32777,
  CMD_PRINT = 32778,
  CMD_PITCH_TEST = 32779,
};

class MainDialog : public ui::Dialog {
 public:
  MainDialog();

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
  std::string settings_path_;
};

}  // namespace tenji
