// The window system's application object around the desktop program: made
// before the first window, with the core's alerts and debugging output
// routed into the window system.
#pragma once

#include <functional>

namespace tenji::ui {

// Runs `body` inside the application object and returns its result. With
// `offscreen`, windows are drawn without a desktop (for pictures of them).
int run_application(int argc, char** argv, const std::function<int()>& body, bool offscreen = false);

}  // namespace tenji::ui
