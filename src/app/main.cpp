#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"
#if defined(TENJI_HAVE_DESKTOP)
#include "desktop/desktop.h"
#endif
#if defined(_WIN32)
#include "app/windows_arguments.h"
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The arguments as UTF-8, whatever the code page.
  std::vector<std::string> utf8 = tenji::windows_utf8_arguments();
  std::vector<char*> pointers;
  for (auto& a : utf8) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  if (!utf8.empty()) {
    argc = static_cast<int>(utf8.size());
    argv = pointers.data();
  }
#endif
#if defined(TENJI_HAVE_DESKTOP)
  if (argc == 1) return tenji::run_desktop(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--settings") == 0) return tenji::run_desktop(1, argv, argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--screenshots") == 0) return tenji::render_screenshots(argc, argv, argv[2]);
#endif
  return tenji::run_command_line(argc, argv, stdout, stderr);
}
