#include "platform/idle.h"

#include <chrono>
#include <thread>

namespace tenji::platform {

// No window messages on this platform: the job thread only yields.
void serve_messages_and_yield() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

}  // namespace tenji::platform
