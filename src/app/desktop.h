#pragma once

namespace tenji {

// The desktop program: the main window until it is closed. Returns the
// process exit code.
int run_desktop(int argc, char** argv);

// Renders every window of the program into PNG files in `directory`,
// without a desktop. Returns the process exit code.
int render_screenshots(int argc, char** argv, const char* directory);

}  // namespace tenji
