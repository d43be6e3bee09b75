// The embosser's ports as PAPPL devices, "tenjiprint:///COM<n>": the ports
// a user sees in `ports` (the virtual embosser's among them). The embossing
// job opens the port itself; PAPPL's device stands for it.
#pragma once

namespace tenji::server {

void add_port_device_scheme();

}  // namespace tenji::server
