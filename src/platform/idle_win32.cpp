#include "platform/idle.h"

#include <windows.h>

namespace tenji::platform {

// The thread's window messages are served, then the processor is given up
// for a moment so that a long wait uses almost no CPU.
void serve_messages_and_yield() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Sleep(1);
}

}  // namespace tenji::platform
