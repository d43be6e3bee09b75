// The embosser's ports as PAPPL devices, "tenjiprint:///COM<n>": the ports
// a user sees in `ports` (the virtual embosser's among them). PAPPL opens
// the device around each job only to learn that the port is there; the
// embossing job opens the port itself.
#pragma once

namespace tenji::server {

void add_port_device_scheme();

}  // namespace tenji::server
