#include "platform/debug_output.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tenji::platform {

Hook<DebugSink> debug_output_hook;

void debug_output(std::string_view text) {
  if (const DebugSink sink = debug_output_hook.get()) {
    sink(text);
    return;
  }
#if defined(_WIN32)
  OutputDebugStringA(std::string(text).c_str());
#else
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
#endif
}

}  // namespace tenji::platform
