// Why the user may not open a port's device, in words they can act on.
#pragma once

#include <optional>
#include <string>

namespace tenji {

// When the user lacks the right to open `path` (a device, or a link to
// one): the rest of a sentence that begins with the port's name, naming
// the group that owns the device and the command that adds the user to it.
// Nothing when rights are not the trouble (and on Windows, where ports have
// no such rights).
std::optional<std::string> permission_problem(const std::string& path);

}  // namespace tenji
