// 周辺機器設定: the COM port and the line speed. ＯＫ always sets XON/XOFF.
#pragma once

#include <string>

#include "ui/dialog.h"

namespace tenji {

class PortSettingsDialog : public ui::Dialog {
 public:
  PortSettingsDialog(ui::Dialog* parent, std::string settings_path);

  int COM_PORT = 0;
  int COM_SPEED = 0;
  int COM_FLOW = 0;

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;

 private:
  void ok();
  std::string settings_path_;
};

}  // namespace tenji
