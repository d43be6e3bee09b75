// The developer's debugging output: texts about single bytes that could not
// be sent go here, never to the user.
#pragma once

#include <functional>
#include <string_view>

namespace tenji::platform {

void debug_output(std::string_view text);

// Replaces where the texts go (stderr by default); an empty function restores
// the default. Safe to call while other threads write.
void set_debug_output(std::function<void(std::string_view)> sink);

}  // namespace tenji::platform
