#include "app/main_dialog.h"

#include "app/about_dialog.h"
#include "config/dot_spacing_dialog.h"
#include "config/port_settings_dialog.h"
#include "config/settings_file.h"
#include "print/printing_dialog.h"
#include "resources/dialog_template.h"
#include "ui/ui_services.h"

namespace tenji {

namespace {

// The buttons and the commands they give.
int command_of_button(int id) {
  switch (id) {
    case 1002: return CMD_DOT_SPACING;
    case 1007: return CMD_PRINT;
    case 1001: return CMD_PORT_SETTINGS;
    case 1000: return CMD_EXIT;
    default: return 0;
  }
}

bool needs_settings_file(int command) {
  return command == CMD_DOT_SPACING || command == CMD_PORT_SETTINGS || command == CMD_PRINT ||
         command == CMD_PITCH_TEST;
}

}  // namespace

MainDialog::MainDialog() : ui::Dialog(102, nullptr) {
  openers[CMD_ABOUT] = [](ui::Dialog&, const std::string&) { AboutDialog().do_modal(); };
  openers[CMD_PORT_SETTINGS] = [](ui::Dialog& main, const std::string& path) {
    PortSettingsDialog(&main, path).do_modal();
  };
  openers[CMD_PRINT] = [](ui::Dialog& main, const std::string& path) {
    PrintingDialog dialog(&main, path);
    dialog.do_modal();
  };
  openers[CMD_PITCH_TEST] = [](ui::Dialog& main, const std::string& path) {
    PrintingDialog dialog(&main, path);
    dialog.pitch_test_mode = 1;
    dialog.do_modal();
  };
  openers[CMD_DOT_SPACING] = [](ui::Dialog& main, const std::string& path) {
    DotSpacingDialog(&main, path).do_modal();
  };
}

bool MainDialog::on_init_dialog() {
  set_icons(resources::ICON_BIG, resources::ICON_SMALL);
  return true;
}

void MainDialog::ensure_settings() {
  // Tested once per run: the path stays once the first command has filled it.
  if (settings_path_.size() < 1) {
    if (!ensure_settings_file(settings_path_))
      ui::ui_services().message_box(this, SETTINGS_WRITE_FAILED, "", platform::MessageIcon::warning,
                                    ui::MessageButtons::ok);
  }
}

bool MainDialog::on_command(int id, int notification) {
  if (notification == ui::BN_CLICKED)
    if (const int button_command = command_of_button(id)) id = button_command;
  if (id == CMD_EXIT) {
    end_dialog(1);
    return true;
  }
  auto it = openers.find(id);
  if (it == openers.end()) return ui::Dialog::on_command(id, notification);
  if (needs_settings_file(id)) ensure_settings();
  it->second(*this, settings_path_);
  return true;
}

}  // namespace tenji
