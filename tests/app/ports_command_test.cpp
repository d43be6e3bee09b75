// `tenjiprint ports` against made-up device trees: umockdev-run gives the
// program a udev and a /sys of our own, so each case is the machine a user
// might have, and the lines are what that user reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "config/settings_file.h"
#include "support/command_output.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

const char* const BUILT_IN_UART =
    "P: /devices/pnp0/00:04\nE: SUBSYSTEM=pnp\nE: DRIVER=serial\n\n"
    "P: /devices/pnp0/00:04/tty/ttyS0\nN: ttyS0\nE: DEVNAME=/dev/ttyS0\nE: SUBSYSTEM=tty\nA: type=4\nA: dev=4:64\n\n";
// What the 8250 driver registers for every ttyS it might have: no UART.
const char* const PHANTOM_TTYS =
    "P: /devices/platform/serial8250\nE: SUBSYSTEM=platform\nE: DRIVER=serial8250\n\n"
    "P: /devices/platform/serial8250/tty/ttyS1\nN: ttyS1\nE: DEVNAME=/dev/ttyS1\nE: SUBSYSTEM=tty\nA: type=0\nA: dev=4:65\n\n";
const char* const FTDI_ADAPTER =
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0\nE: SUBSYSTEM=usb-serial\nE: DRIVER=ftdi_sio\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0\nN: ttyUSB0\nE: DEVNAME=/dev/ttyUSB0\n"
    "E: SUBSYSTEM=tty\nE: ID_BUS=usb\nE: ID_VENDOR=FTDI\nE: ID_MODEL=FT232R_USB_UART\nE: ID_SERIAL_SHORT=A50285BI\n"
    "E: DEVLINKS=/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0 "
    "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\nA: dev=188:0\n\n";
// A cheap adapter without a serial number: only its by-path name.
const char* const CH340_WITHOUT_SERIAL =
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/ttyUSB1\nE: SUBSYSTEM=usb-serial\nE: DRIVER=ch341-uart\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/ttyUSB1/tty/ttyUSB1\nN: ttyUSB1\nE: DEVNAME=/dev/ttyUSB1\n"
    "E: SUBSYSTEM=tty\nE: ID_BUS=usb\nE: ID_VENDOR=1a86\nE: ID_MODEL=USB_Serial\n"
    "E: DEVLINKS=/dev/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0-port0\nA: dev=188:1\n\n";
// udev's hardware database names the maker and product better than the device.
const char* const ACM_WITH_DATABASE_NAMES =
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0\nE: SUBSYSTEM=usb\nE: DRIVER=cdc_acm\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/tty/ttyACM0\nN: ttyACM0\nE: DEVNAME=/dev/ttyACM0\n"
    "E: SUBSYSTEM=tty\nE: ID_BUS=usb\nE: ID_VENDOR=2341\nE: ID_MODEL=0043\nE: ID_VENDOR_FROM_DATABASE=Arduino SA\n"
    "E: ID_MODEL_FROM_DATABASE=Uno R3 (CDC ACM)\nE: ID_SERIAL_SHORT=7573530323135140E0A1\n"
    "E: DEVLINKS=/dev/serial/by-id/usb-Arduino__www.arduino.cc__0043_7573530323135140E0A1-if00\nA: dev=166:0\n\n";
// Virtual consoles have no parent device.
const char* const VIRTUAL_CONSOLE =
    "P: /devices/virtual/tty/tty1\nN: tty1\nE: DEVNAME=/dev/tty1\nE: SUBSYSTEM=tty\nA: dev=4:1\n\n";

const std::string FTDI_LINE =
    "/dev/ttyUSB0  USB シリアル FTDI FT232R USB UART (A50285BI)  "
    "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n";

struct Machine {
  const char* what;
  std::vector<const char*> devices;
  std::vector<std::pair<int, std::string>> links;  // dosdevices com<n> -> target
  int settings_com;                                // 1-based
  std::string lines;
};

const Machine MACHINES[] = {
    {"a built-in port with a UART is COM1", {BUILT_IN_UART}, {}, 1,
     "* COM1   /dev/ttyS0  内蔵シリアルポート\n"},
    {"the 8250's phantom ports and virtual consoles are left out", {PHANTOM_TTYS, VIRTUAL_CONSOLE}, {}, 1,
     "* COM1   見つかりません（/dev/ttyS0）\n"},
    {"an adapter nobody numbered yet, the settings' COM1 missing", {FTDI_ADAPTER}, {}, 1,
     "  -      " + FTDI_LINE + "* COM1   見つかりません（/dev/ttyS0）\n"},
    {"an adapter bound by its by-id name, the settings' port", {BUILT_IN_UART, FTDI_ADAPTER},
     {{3, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}}, 3,
     "  COM1   /dev/ttyS0    内蔵シリアルポート\n* COM3   " + FTDI_LINE},
    {"an adapter without a serial number, bound by its device", {CH340_WITHOUT_SERIAL}, {{12, "/dev/ttyUSB1"}}, 12,
     "* COM12  /dev/ttyUSB1  USB シリアル 1a86 USB Serial\n"},
    {"the database's names, unnumbered ports after numbered ones, by device",
     {ACM_WITH_DATABASE_NAMES, FTDI_ADAPTER, BUILT_IN_UART}, {}, 2,
     "  COM1   /dev/ttyS0    内蔵シリアルポート\n"
     "  -      /dev/ttyACM0  USB シリアル Arduino SA Uno R3 (CDC ACM) (7573530323135140E0A1)  "
     "/dev/serial/by-id/usb-Arduino__www.arduino.cc__0043_7573530323135140E0A1-if00\n"
     "  -      " + FTDI_LINE + "* COM2   見つかりません（/dev/ttyS1）\n"},
    {"a link to a device udev does not list: the virtual embosser's pseudo-terminal", {}, {{1, "$PTY"}}, 1,
     "* COM1   $PTY  擬似端末\n"},
    {"one port under two numbers, a link to nothing found ignored", {BUILT_IN_UART},
     {{5, "/dev/ttyS0"}, {7, "/dev/serial/by-id/usb-gone-if00-port0"}}, 7,
     "  COM1   /dev/ttyS0  内蔵シリアルポート\n  COM5   /dev/ttyS0  内蔵シリアルポート\n"
     "* COM7   見つかりません（$DIR/config/tenjiprint/dosdevices/com7 -> /dev/serial/by-id/usb-gone-if00-port0）\n"},
};

TEST(PortsCommand, ListsWhatAUserRecognisesOnEachMachine) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
  const char* pty = ::ptsname(master);
  for (const Machine& m : MACHINES) {
    testing::TempDir dir;
    std::string tree;
    for (const char* d : m.devices) tree += d;
    testing::write_file(dir.file("machine.umockdev"), tree);
    const std::string links = dir.file("config/tenjiprint/dosdevices");
    ASSERT_EQ(std::system(("mkdir -p " + links).c_str()), 0);
    for (const auto& [n, target] : m.links)
      ASSERT_EQ(::symlink(target == "$PTY" ? pty : target.c_str(), (links + "/com" + std::to_string(n)).c_str()), 0);
    const std::string settings = dir.file("tenjiprint.ini");
    ASSERT_TRUE(write_default_settings(settings) && save_port_keys(settings, m.settings_com - 1, 3, 1));
    // umockdev's library is preloaded ahead of a sanitizer's runtime, which
    // would refuse to start for that alone.
    std::string got = testing::output_of("ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 XDG_CONFIG_HOME=" +
                                dir.file("config") + " umockdev-run -d " +
                                      dir.file("machine.umockdev") + " -- " TENJIPRINT_PATH " --settings " + settings +
                                      " ports 2>&1");
    for (std::size_t at; (at = got.find(dir.path())) != std::string::npos;) got.replace(at, dir.path().size(), "$DIR");
    for (std::size_t at; (at = got.find(pty)) != std::string::npos;) got.replace(at, std::strlen(pty), "$PTY");
    EXPECT_EQ(got, m.lines) << m.what;
  }
  ::close(master);
}

}  // namespace
}  // namespace tenji
