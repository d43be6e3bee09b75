// The ports as udev knows them: real tty devices (a parent device, and for
// the 8250 driver a UART it found: not the 32 phantom ttyS nodes), with the
// names and numbers udev already gathered for USB adapters. udev rather than
// libserialport: the same data, plus the by-id names that keep an adapter
// recognisable, and umockdev to test it against made-up device trees. A
// COM link to a device udev does not list (a pseudo-terminal) counts too.
#include <libudev.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>

#include "serial/com_device_path.h"
#include "serial/port_list.h"

namespace tenji {

namespace {

namespace fs = std::filesystem;

struct UdevFree {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using Owned = std::unique_ptr<T, UdevFree>;

std::string property(udev_device* d, const char* name) {
  const char* v = udev_device_get_property_value(d, name);
  return v ? v : "";
}

std::string readable(std::string s) {
  for (char& c : s)
    if (c == '_') c = ' ';
  return s;
}

// A port udev knows and we can print to.
bool is_real_port(udev_device* d) {
  if (!udev_device_get_devnode(d) || !udev_device_get_parent(d)) return false;  // virtual consoles, ptmx
  const char* type = udev_device_get_sysattr_value(d, "type");
  return !(type && std::string(type) == "0");  // an 8250 port without a UART behind it
}

FoundPort port_of(udev_device* d) {
  FoundPort p;
  p.device = udev_device_get_devnode(d);
  p.usb = property(d, "ID_BUS") == "usb";
  std::istringstream links(property(d, "DEVLINKS"));
  for (std::string link; links >> link;)
    if (link.rfind("/dev/serial/by-id/", 0) == 0) p.stable_name = link;
  if (p.usb) {
    std::string maker = property(d, "ID_VENDOR_FROM_DATABASE"), product = property(d, "ID_MODEL_FROM_DATABASE");
    if (maker.empty()) maker = readable(property(d, "ID_VENDOR"));
    if (product.empty()) product = readable(property(d, "ID_MODEL"));
    p.description = maker.empty() ? product : product.empty() ? maker : maker + " " + product;
    p.serial = property(d, "ID_SERIAL_SHORT");
  } else {
    p.description = "内蔵シリアルポート";
  }
  return p;
}

// A link to a character device udev does not list (a pseudo-terminal, as
// the virtual embosser uses): still a port the number leads to.
std::optional<FoundPort> unlisted_device(const fs::path& resolved, int com_number) {
  struct stat st {};
  if (::stat(resolved.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
  FoundPort p;
  p.com_number = com_number;
  p.device = resolved.string();
  p.description = p.device.rfind("/dev/pts/", 0) == 0 ? "擬似端末" : "シリアル装置";
  return p;
}

// The numbers the dosdevices links give the ports (a port may answer to
// several), else ttyS<n-1>'s own COM<n> when no link takes that number.
void number_ports(std::vector<FoundPort>& ports) {
  const std::string dir = dosdevices_directory();
  const std::size_t found = ports.size();
  std::error_code ec;
  for (int n = 1; n <= 256; ++n) {
    const fs::path link = dir.empty() ? fs::path() : fs::path(dir) / ("com" + std::to_string(n));
    const bool linked = !dir.empty() && fs::is_symlink(link, ec);
    const std::string target = linked ? fs::read_symlink(link, ec).string() : "";
    const fs::path resolved = linked ? fs::canonical(link, ec) : fs::path();
    const bool resolves = linked && !ec;
    bool matched = false;
    for (std::size_t i = 0; i < found; ++i) {
      const bool answers = linked ? target == ports[i].stable_name || target == ports[i].device ||
                                        (resolves && resolved == ports[i].device)
                                  : ports[i].device == "/dev/ttyS" + std::to_string(n - 1);
      if (!answers) continue;
      matched = true;
      if (!ports[i].com_number) {
        ports[i].com_number = n;
      } else {
        FoundPort again = ports[i];
        again.com_number = n;
        ports.push_back(again);
      }
    }
    if (linked && resolves && !matched)
      if (std::optional<FoundPort> p = unlisted_device(resolved, n)) ports.push_back(*p);
  }
}

}  // namespace

std::vector<FoundPort> system_ports() {
  std::vector<FoundPort> ports;
  Owned<udev> u(udev_new());
  if (!u) return ports;
  Owned<udev_enumerate> e(udev_enumerate_new(u.get()));
  udev_enumerate_add_match_subsystem(e.get(), "tty");
  udev_enumerate_scan_devices(e.get());
  udev_list_entry* entry;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
    Owned<udev_device> d(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
    if (d && is_real_port(d.get())) ports.push_back(port_of(d.get()));
  }
  number_ports(ports);
  order_ports(ports);
  return ports;
}

bool ports_can_be_bound() { return true; }

std::string bind_com_port(int com_number, const std::string& target) {
  const std::string dir = dosdevices_directory();
  if (dir.empty() || com_number < 1 || com_number > 256) return "COM番号か設定フォルダーがありません。";
  std::error_code ec;
  fs::create_directories(dir, ec);
  // The new link replaces the old one at once: COM<n> is never missing.
  const fs::path link = fs::path(dir) / ("com" + std::to_string(com_number));
  const fs::path fresh = fs::path(dir) / (".com" + std::to_string(com_number) + ".new");
  fs::remove(fresh, ec);
  fs::create_symlink(target, fresh, ec);
  if (!ec) fs::rename(fresh, link, ec);
  if (ec) {
    const std::string why = ec.message();
    fs::remove(fresh, ec);
    return link.string() + " を作れませんでした（" + why + "）。";
  }
  return {};
}

}  // namespace tenji
