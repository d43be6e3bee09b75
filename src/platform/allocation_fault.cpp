#include "platform/allocation_fault.h"

namespace tenji::platform {

Hook<std::function<bool()>> allocation_fault_hook;

bool allocation_should_fail() {
  if (!allocation_fault_hook.engaged()) return false;  // every line of a document asks
  const auto fault = allocation_fault_hook.get();
  return fault && fault();
}

}  // namespace tenji::platform
