#include "ui/win32/windows_api.h"

#include "platform/alert.h"
#include "platform/debug_output.h"
#include "ui/application.h"
#include "platform/wide_text.h"

namespace tenji::ui {

using platform::widen;

int run_application(int, char**, const std::function<int()>& body, bool) {
  // The progress bar's class, and the common controls of version 6 that the
  // manifest asks for.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  // Alerts from deep in the core (out of memory) become message boxes without
  // an owner; the debugging output goes to the debugger.
  platform::ScopedHook alerts(platform::alert_hook, [](std::string_view text, std::string_view caption) {
    MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(), MB_OK | MB_TASKMODAL);
  });
  platform::ScopedHook debug(platform::debug_output_hook,
                             [](std::string_view text) { OutputDebugStringW(widen(text).c_str()); });
  return body();
}

}  // namespace tenji::ui
