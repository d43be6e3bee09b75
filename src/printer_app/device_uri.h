// The embosser's device URIs: "tenjiprint:///COM<n>", one for each COM
// number the project's serial driver answers to.
#pragma once

#include <string>

namespace tenji::server {

inline constexpr const char* DEVICE_URI_PREFIX = "tenjiprint:///COM";

// COM<n> of a device URI; 0 when it names none (another scheme, no number,
// a number out of 1..9999, anything after it).
int com_number_of_device_uri(const char* uri);

std::string device_uri_for_com(int com_number);

}  // namespace tenji::server
