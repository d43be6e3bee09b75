#include "serial/port_access.h"

namespace tenji {

// A COM port has no rights of its own on Windows: busy is busy.
std::optional<std::string> permission_problem(const std::string&) { return std::nullopt; }

}  // namespace tenji
