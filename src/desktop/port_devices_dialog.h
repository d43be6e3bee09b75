// 装置の割り当て: gives the COM number chosen in 周辺機器設定 to one of
// the devices found, through the name that stays with a USB adapter.
#pragma once

#include <vector>

#include "serial/port_list.h"
#include "ui/dialog.h"

namespace tenji {

class PortDevicesDialog : public ui::Dialog {
 public:
  PortDevicesDialog(ui::Dialog* parent, int com_number, std::vector<FoundPort> ports);

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;
  void on_ok() override;

 private:
  void show_note();
  int com_number_;
  std::vector<FoundPort> ports_;  // one a device: a device with several numbers is listed once
};

}  // namespace tenji
