#include "platform/debug_output.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace tenji::platform {

namespace {
std::mutex sink_mutex;
std::function<void(std::string_view)> sink;
}  // namespace

void debug_output(std::string_view text) {
  std::lock_guard lock(sink_mutex);
  if (sink) {
    sink(text);
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void set_debug_output(std::function<void(std::string_view)> new_sink) {
  std::lock_guard lock(sink_mutex);
  sink = std::move(new_sink);
}

}  // namespace tenji::platform
