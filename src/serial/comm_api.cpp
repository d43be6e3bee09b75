#include "serial/comm_api.h"

#include <atomic>

namespace tenji {

namespace {
std::atomic<CommApi*> installed{nullptr};
}  // namespace

CommApi& comm_api() {
  CommApi* api = installed.load(std::memory_order_acquire);
  return api ? *api : platform_comm_api();
}

void set_comm_api(CommApi* api) { installed.store(api, std::memory_order_release); }

}  // namespace tenji
