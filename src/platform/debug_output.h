// The developer's debugging output: texts about single bytes that could not
// be sent go here, never to the user.
#pragma once

#include <functional>
#include <string_view>

#include "platform/hook.h"

namespace tenji::platform {

void debug_output(std::string_view text);

// Where the texts go instead of the default: the debugger's output on
// Windows, the system log on Linux (standard error with TENJIPRINT_DEBUG=1).
using DebugSink = std::function<void(std::string_view)>;
extern Hook<DebugSink> debug_output_hook;

}  // namespace tenji::platform
