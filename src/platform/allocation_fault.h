// Lets tests make the core's own allocations fail, so that the out-of-memory
// paths can be run without exhausting the machine.
#pragma once

#include <functional>

#include "platform/hook.h"

namespace tenji::platform {

// True when the allocation about to be made should be treated as failed.
bool allocation_should_fail();

// The decision function; empty: no faults.
extern Hook<std::function<bool()>> allocation_fault_hook;

}  // namespace tenji::platform
