// Where "\\.\COM<N>" is on this machine: the link com<N> in the dosdevices
// folder when there is one (as Wine users know it), else /dev/ttyS<N-1>.
#pragma once

#include <string>

#include "serial/com_device_name.h"

namespace tenji {

// <XDG config home>/tenjiprint/dosdevices, or empty without a home.
std::string dosdevices_directory();

std::string com_device_path(int com_number);

}  // namespace tenji
