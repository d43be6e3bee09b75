// A message box without an owner window, for alerts raised deep in the core
// (out of memory). The desktop program installs a real message box; the
// default writes the alert to stderr.
#pragma once

#include <functional>
#include <string_view>

#include "platform/hook.h"

namespace tenji::platform {

enum class MessageIcon { none, error, warning, information };

void show_alert(std::string_view text, std::string_view caption);

// Where alerts go instead of stderr; empty for the default.
using AlertHandler = std::function<void(std::string_view text, std::string_view caption)>;
extern Hook<AlertHandler> alert_hook;

}  // namespace tenji::platform
