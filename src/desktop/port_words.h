// How the port dialogs name COM numbers and what answers to them.
#pragma once

#include <string>
#include <vector>

#include "serial/port_list.h"

namespace tenji {

// "ｃｏｍ３", as the port list names the number.
std::string com_word(int com_number);

// "ｃｏｍ３: USB シリアル FTDI FT232R USB UART (A50285BI)", or
// "ｃｏｍ３: 見つかりません" when no port in `ports` answers to it.
std::string com_summary(int com_number, const std::vector<FoundPort>& ports);

// A line of the device list: "/dev/ttyUSB0  USB シリアル … (A50285BI)", and
// "（今は ｃｏｍ５）" when the device already has a number.
std::string device_choice(const FoundPort& port);

}  // namespace tenji
