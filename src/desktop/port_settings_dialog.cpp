#include "desktop/port_settings_dialog.h"

#include "config/settings_file.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

PortSettingsDialog::PortSettingsDialog(ui::Dialog* parent, std::string settings_path)
    : ui::Dialog(IDD_PORT_SETTINGS, parent), settings_path_(std::move(settings_path)) {}

bool PortSettingsDialog::on_init_dialog() {
  load_port_keys(settings_path_, COM_PORT, COM_SPEED, COM_FLOW);
  set_cur_sel(IDC_PORT_LIST, COM_PORT);  // an index outside the list selects nothing
  set_cur_sel(IDC_SPEED_LIST, COM_SPEED);
  focus_item(IDC_SETTINGS_OK);
  return true;
}

bool PortSettingsDialog::on_command(int id, int notification) {
  if (notification != ui::BN_CLICKED) return false;
  if (id == IDC_SETTINGS_OK) {
    ok();
    return true;
  }
  if (id == IDC_SETTINGS_CANCEL) {
    on_cancel();
    return true;
  }
  return ui::Dialog::on_command(id, notification);
}

void PortSettingsDialog::ok() {
  COM_PORT = cur_sel(IDC_PORT_LIST);
  COM_SPEED = cur_sel(IDC_SPEED_LIST);
  COM_FLOW = 1;
  if (!save_port_keys(settings_path_, COM_PORT, COM_SPEED, COM_FLOW)) {
    ui::ui_services().message_box(this, settings_write_failed(settings_path_), "", platform::MessageIcon::warning,
                                  ui::MessageButtons::ok);
    return;  // stays open, so nothing the user chose is lost
  }
  end_dialog(1);
}

}  // namespace tenji
