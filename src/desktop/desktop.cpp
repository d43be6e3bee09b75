#include "desktop/desktop.h"

#include <cstdio>

#include "desktop/main_dialog.h"
#include "ui/application.h"

namespace tenji {

// The application object: runs the main window modally, then the program ends.
int run_desktop(int argc, char** argv, const std::string& settings_path) {
  return ui::run_application(argc, argv, [&] {
    MainDialog main(settings_path);
    if (main.do_modal() != -1) return 0;
    std::fputs("メインウィンドウを開けませんでした（画面に表示できません）。\n", stderr);
    return 1;
  });
}

}  // namespace tenji
