#include "desktop/desktop.h"

#include "desktop/main_dialog.h"
#include "ui/application.h"

namespace tenji {

// The application object: runs the main window modally, then the program ends.
int run_desktop(int argc, char** argv, const std::string& settings_path) {
  return ui::run_application(argc, argv, [&] {
    MainDialog main(settings_path);
    main.do_modal();
    return 0;
  });
}

}  // namespace tenji
