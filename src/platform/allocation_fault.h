// Lets tests make the core's own allocations fail, so that the out-of-memory
// paths can be run without exhausting the machine.
#pragma once

#include <functional>

namespace tenji::platform {

// True when the allocation about to be made should be treated as failed.
bool allocation_should_fail();

// Installs the decision function; an empty function turns faults off.
void set_allocation_fault(std::function<bool()> fault);

}  // namespace tenji::platform
