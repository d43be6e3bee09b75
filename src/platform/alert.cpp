#include "platform/alert.h"

#include <cstdio>
#include <mutex>

namespace tenji::platform {

namespace {
std::mutex handler_mutex;
std::function<void(std::string_view, std::string_view)> handler;
}  // namespace

void show_alert(std::string_view text, std::string_view caption) {
  std::function<void(std::string_view, std::string_view)> h;
  {
    std::lock_guard lock(handler_mutex);
    h = handler;
  }
  if (h) {
    h(text, caption);
    return;
  }
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
}

void set_alert_handler(std::function<void(std::string_view, std::string_view)> h) {
  std::lock_guard lock(handler_mutex);
  handler = std::move(h);
}

}  // namespace tenji::platform
