#include "serial/comm_api.h"

namespace tenji {

platform::Hook<CommApi*> comm_api_hook;

CommApi& comm_api() {
  CommApi* api = comm_api_hook.get();
  return api ? *api : platform_comm_api();
}

}  // namespace tenji
