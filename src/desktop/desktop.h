#pragma once

#include <string>

namespace tenji {

// The desktop program: the main window until it is closed. Returns the
// process exit code.
// With a settings path, that file is used instead of the one beside the
// program.
int run_desktop(int argc, char** argv, const std::string& settings_path = {});

// Renders every window of the program into PNG files in `directory`,
// without a desktop. Returns the process exit code.
int render_screenshots(int argc, char** argv, const char* directory);

}  // namespace tenji
