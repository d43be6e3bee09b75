#include "platform/debug_output.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <syslog.h>

#include <cstdlib>
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
  // The user's terminal is for the user's messages: a developer reads these
  // in the journal (`journalctl -t tenjiprint`), or asks for them on
  // standard error with TENJIPRINT_DEBUG=1.
  const char* wanted = std::getenv("TENJIPRINT_DEBUG");
  if (wanted && *wanted && std::string_view(wanted) != "0") {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    return;
  }
  ::openlog("tenjiprint", LOG_PID, LOG_USER);
  ::syslog(LOG_DEBUG, "%.*s", static_cast<int>(text.size()), text.data());
#endif
}

}  // namespace tenji::platform
