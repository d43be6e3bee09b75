#include "ui/ui_services.h"

namespace tenji::ui {

platform::Hook<UiServices*> ui_services_hook;
platform::Hook<std::function<void(Dialog&)>> dialog_shown_hook;

UiServices& ui_services() {
  UiServices* installed = ui_services_hook.get();
  return installed ? *installed : window_system_services();
}

void notify_dialog_shown(Dialog& dialog) {
  if (const auto hook = dialog_shown_hook.get()) hook(dialog);
}

}  // namespace tenji::ui
