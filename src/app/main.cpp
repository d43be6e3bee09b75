#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#if defined(TENJI_HAVE_DESKTOP)
#include "desktop/desktop.h"
#endif

int main(int argc, char** argv) {
#if defined(TENJI_HAVE_DESKTOP)
  if (argc == 1) return tenji::run_desktop(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--settings") == 0) return tenji::run_desktop(1, argv, argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--screenshots") == 0) return tenji::render_screenshots(argc, argv, argv[2]);
#endif
  return tenji::run_command_line(argc, argv, stdout, stderr);
}
