#pragma once

namespace tenji::platform {

// What a waiting thread does between two polls: serve the thread's pending
// window messages where the platform has them, then give up the processor
// for about a millisecond so that a long wait uses almost no CPU.
void serve_messages_and_yield();

}  // namespace tenji::platform
