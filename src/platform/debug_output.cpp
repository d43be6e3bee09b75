#include "platform/debug_output.h"

#include <cstdio>
#include <mutex>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

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
#if defined(_WIN32)
  OutputDebugStringA(std::string(text).c_str());
#else
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
#endif
}

void set_debug_output(std::function<void(std::string_view)> new_sink) {
  std::lock_guard lock(sink_mutex);
  sink = std::move(new_sink);
}

}  // namespace tenji::platform
