#include "desktop/main_dialog.h"

#include "config/settings_file.h"
#include "desktop/about_dialog.h"
#include "desktop/dot_spacing_dialog.h"
#include "desktop/port_settings_dialog.h"
#include "desktop/printing_dialog.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

namespace {

// The buttons and the commands they give.
int command_of_button(int id) {
  switch (id) {
    case IDC_MAIN_DOT_SPACING: return ID_DOT_SPACING;
    case IDC_MAIN_PRINT: return ID_PRINT;
    case IDC_MAIN_PREVIEW: return ID_PREVIEW;
    case IDC_MAIN_PORT_SETTINGS: return ID_PORT_SETTINGS;
    case IDC_MAIN_EXIT: return ID_APP_EXIT;
    default: return 0;
  }
}

bool needs_settings_file(int command) {
  return command == ID_DOT_SPACING || command == ID_PORT_SETTINGS || command == ID_PRINT || command == ID_PREVIEW ||
         command == ID_PITCH_TEST;
}

}  // namespace

MainDialog::MainDialog(std::string settings_path) : ui::Dialog(IDD_MAIN, nullptr), chosen_path_(std::move(settings_path)) {
  openers[ID_APP_ABOUT] = [](ui::Dialog& main, const std::string& path) { AboutDialog(&main, path).do_modal(); };
  openers[ID_PORT_SETTINGS] = [](ui::Dialog& main, const std::string& path) {
    PortSettingsDialog(&main, path).do_modal();
  };
  openers[ID_PRINT] = [this](ui::Dialog& main, const std::string& path) {
    PrintingDialog dialog(&main, path);
    dialog.do_modal();
    tell_end(dialog.end_text);
  };
  openers[ID_PREVIEW] = [this](ui::Dialog& main, const std::string& path) {
    PrintingDialog dialog(&main, path);
    dialog.preview_first = true;
    dialog.do_modal();
    tell_end(dialog.end_text);
  };
  openers[ID_PITCH_TEST] = [this](ui::Dialog& main, const std::string& path) {
    PrintingDialog dialog(&main, path);
    dialog.pitch_test_mode = 1;
    dialog.do_modal();
    tell_end(dialog.end_text);
  };
  openers[ID_DOT_SPACING] = [](ui::Dialog& main, const std::string& path) {
    DotSpacingDialog(&main, path).do_modal();
  };
}

bool MainDialog::on_init_dialog() {
  set_icons(IDI_BIG, IDI_SMALL);
  show_item(IDC_MAIN_STATUS, false);  // until a print has ended
  return true;
}

// The file the commands use, made yet or not: the version dialog names it.
std::string MainDialog::settings_in_use() const {
  if (!settings_path_.empty()) return settings_path_;
  return chosen_path_.empty() ? settings_file_path() : chosen_path_;
}

void MainDialog::tell_end(const std::string& text) {
  if (text.empty()) return;
  set_item_text(IDC_MAIN_STATUS, text);
  show_item(IDC_MAIN_STATUS, true);
  focus_item(IDC_MAIN_STATUS);  // a screen reader reads it where the focus lands
}

void MainDialog::ensure_settings() {
  // Tested once per run: the path stays once the first command has filled it.
  if (settings_path_.size() < 1) {
    const bool ok = chosen_path_.empty() ? ensure_settings_file(settings_path_)
                                         : ensure_settings_file_at(settings_path_ = chosen_path_);
    if (!ok)
      ui::ui_services().message_box(this, settings_write_failed(settings_path_), "", platform::MessageIcon::warning,
                                    ui::MessageButtons::ok);
  }
}

bool MainDialog::on_command(int id, int notification) {
  if (notification == ui::BN_CLICKED)
    if (const int button_command = command_of_button(id)) id = button_command;
  if (id == ID_APP_EXIT) {
    end_dialog(1);
    return true;
  }
  auto it = openers.find(id);
  if (it == openers.end()) return ui::Dialog::on_command(id, notification);
  if (needs_settings_file(id)) ensure_settings();
  it->second(*this, id == ID_APP_ABOUT ? settings_in_use() : settings_path_);
  return true;
}

}  // namespace tenji
