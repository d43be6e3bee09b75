#include "platform/alert.h"

#include <cstdio>

namespace tenji::platform {

Hook<AlertHandler> alert_hook;

void show_alert(std::string_view text, std::string_view caption) {
  if (const AlertHandler handler = alert_hook.get()) {
    handler(text, caption);
    return;
  }
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
}

}  // namespace tenji::platform
