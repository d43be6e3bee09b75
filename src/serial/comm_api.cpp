#include "serial/comm_api.h"

namespace tenji {

platform::Hook<CommApi*> comm_api_hook;

CommApi& comm_api() {
  static CommApi& own = platform_comm_api();
  CommApi* api = comm_api_hook.get();
  return api ? *api : own;
}

}  // namespace tenji
