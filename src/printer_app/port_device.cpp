#include "printer_app/port_device.h"

#include <string>

extern "C" {
#include <pappl/pappl.h>
}

#include "printer_app/device_uri.h"
#include "serial/port_list.h"

namespace tenji::server {

namespace {

bool list_ports(pappl_device_cb_t cb, void* data, pappl_deverror_cb_t, void*) {
  for (const FoundPort& port : find_ports()) {
    if (port.com_number == 0) continue;
    const std::string uri = device_uri_for_com(port.com_number);
    const std::string info = "COM" + std::to_string(port.com_number) + " " + port.device + " " + port_description(port);
    if (cb(info.c_str(), uri.c_str(), "MFG:tenjiprint;MDL:Braille embosser;CMD:NRK;", data)) return true;
  }
  return false;
}

// The embossing job opens the port itself, and waits for it when it is not
// there; PAPPL's device only has to name a port.
bool open_port(pappl_device_t* device, const char* uri, const char*) {
  if (com_number_of_device_uri(uri) != 0) return true;
  papplDeviceError(device, "点字プリンターのポートの指定 %s が正しくありません。", uri);
  return false;
}

void close_port(pappl_device_t*) {}

ssize_t no_writes(pappl_device_t* device, const void*, std::size_t) {
  papplDeviceError(device, "このポートへは印刷の仕事だけが送ります。");
  return -1;
}

ssize_t no_reads(pappl_device_t*, void*, std::size_t) { return 0; }

pappl_preason_t port_status(pappl_device_t*) { return PAPPL_PREASON_NONE; }

}  // namespace

void add_port_device_scheme() {
  papplDeviceAddScheme("tenjiprint", PAPPL_DEVTYPE_CUSTOM_LOCAL, list_ports, open_port, close_port, no_reads, no_writes,
                       port_status, nullptr);
}

}  // namespace tenji::server
