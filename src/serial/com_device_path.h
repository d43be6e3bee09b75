// Where "\\.\COM<N>" is on this machine: the link com<N> in the dosdevices
// folder when there is one (as Wine users know it), else /dev/ttyS<N-1>.
#pragma once

#include <string>

namespace tenji {

// N for a device name "\\.\COM<N>" (COM in any case, N from 1 to 256), else 0.
int com_number_from_device_name(const char* device_name);

// <XDG config home>/tenjiprint/dosdevices, or empty without a home.
std::string dosdevices_directory();

std::string com_device_path(int com_number);

}  // namespace tenji
