// 周辺機器設定: the COM port and the line speed. ＯＫ always sets XON/XOFF.
// Beside the list it says what answers to the selected number; where the
// numbers are ours to give, a device can be given it.
#pragma once

#include <string>
#include <vector>

#include "serial/port_list.h"
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
  void show_device();
  void assign_device();
  std::string settings_path_;
  std::vector<FoundPort> ports_;
};

}  // namespace tenji
