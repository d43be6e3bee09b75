// The one driver: a Braille embosser on the project's serial driver. It
// prints the Braille formats through the embossing job and no images.
#pragma once

extern "C" {
#include <pappl/pappl.h>
}

namespace tenji::server {

inline constexpr const char* DRIVER_NAME = "tenjiprint";
inline constexpr const char* DRIVER_DESCRIPTION = "点字プリンター (tenjiprint)";

// The driver list: the one driver.
pappl_pr_driver_t* embosser_drivers();

bool embosser_driver(pappl_system_t* system, const char* driver_name, const char* device_uri, const char* device_id,
                     pappl_pr_driver_data_t* data, ipp_t** attrs, void* unused);

// The formats' filters, the content recognition of application/octet-stream
// and the device scheme, on a new system.
void add_braille_printing(pappl_system_t* system);

}  // namespace tenji::server
