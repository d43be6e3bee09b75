#include "serial/port_list.h"

#include <algorithm>

#include "serial/comm_api.h"

namespace tenji {

std::vector<FoundPort> find_ports() { return comm_api().ports(); }

std::optional<FoundPort> port_behind(long long com_number) {
  for (const FoundPort& p : find_ports())
    if (p.com_number == com_number) return p;
  return std::nullopt;
}

std::string port_description(const FoundPort& p) {
  std::string text = p.usb ? "USB シリアル " + p.description : p.description;
  if (!p.serial.empty()) text += " (" + p.serial + ")";
  return text;
}

std::string port_label(long long com_number) {
  const std::optional<FoundPort> p = port_behind(com_number);
  return p ? p->device + "、" + port_description(*p) : "";
}

// Numbered ports first, by number; then the rest by device.
void order_ports(std::vector<FoundPort>& ports) {
  std::sort(ports.begin(), ports.end(), [](const FoundPort& a, const FoundPort& b) {
    const int na = a.com_number ? a.com_number : 1 << 20, nb = b.com_number ? b.com_number : 1 << 20;
    return na != nb ? na < nb : a.device < b.device;
  });
}

}  // namespace tenji
