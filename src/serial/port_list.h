// The serial ports of this machine as a user recognises them: the COM
// number a port answers to, its device, and for a USB adapter its maker,
// product and serial number.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tenji {

struct FoundPort {
  int com_number = 0;       // the COM number it answers to; 0: none yet
  std::string device;       // "/dev/ttyUSB0"; "\\.\COM5" on Windows
  std::string stable_name;  // Linux: its /dev/serial/by-id name, which stays with the adapter
  std::string description;  // "FTDI FT232R USB UART", "内蔵シリアルポート", "USB Serial Port (COM5)"
  std::string serial;       // a USB adapter's serial number, when it has one
  bool usb = false;
};

// Every port the operating system knows, those with a COM number first, in
// number order.
std::vector<FoundPort> system_ports();

// Sorts a platform's listing as system_ports() returns it.
void order_ports(std::vector<FoundPort>& ports);

// The ports as the comm layer in use lists them (the system's, or a test's).
std::vector<FoundPort> find_ports();

// The port behind COM<n> (1-based), when there is one.
std::optional<FoundPort> port_behind(long long com_number);

// What the user reads of a port: "USB シリアル FTDI FT232R USB UART (A50285BI)",
// "内蔵シリアルポート".
std::string port_description(const FoundPort& port);

// "/dev/ttyUSB0、USB シリアル FTDI FT232R USB UART (A50285BI)" for the port
// behind COM<n>, for messages; empty when there is none. (The number is
// wide: a settings file may hold any COM_PORT.)
std::string port_label(long long com_number);

// Whether COM numbers are ours to give (Linux), or the system's (Windows).
bool ports_can_be_bound();

// Linux: makes COM<n> the adapter behind `target` (a by-id name or a
// device), through the link com<n> in the dosdevices folder, so that the
// adapter keeps its number after re-plugging and restarts. Empty, or why not.
std::string bind_com_port(int com_number, const std::string& target);

}  // namespace tenji
