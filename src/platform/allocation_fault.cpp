#include "platform/allocation_fault.h"

#include <atomic>
#include <mutex>

namespace tenji::platform {

namespace {
std::mutex fault_mutex;
std::function<bool()> fault;
std::atomic<bool> armed{false};
}  // namespace

bool allocation_should_fail() {
  if (!armed.load(std::memory_order_acquire)) return false;
  std::lock_guard lock(fault_mutex);
  return fault && fault();
}

void set_allocation_fault(std::function<bool()> f) {
  std::lock_guard lock(fault_mutex);
  fault = std::move(f);
  armed.store(static_cast<bool>(fault), std::memory_order_release);
}

}  // namespace tenji::platform
