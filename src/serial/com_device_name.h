#pragma once

namespace tenji {

// N for a device name "\\.\COM<N>" (COM in any case, N from 1 to 256), else 0.
int com_number_from_device_name(const char* device_name);

}  // namespace tenji
