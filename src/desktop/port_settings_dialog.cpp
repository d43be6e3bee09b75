#include "desktop/port_settings_dialog.h"

#include "config/settings_file.h"
#include "desktop/port_devices_dialog.h"
#include "desktop/port_words.h"
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
  ports_ = find_ports();
  show_device();
  show_item(IDC_PORT_ASSIGN, ports_can_be_bound());
  focus_item(IDC_SETTINGS_OK);
  return true;
}

bool PortSettingsDialog::on_command(int id, int notification) {
  if (id == IDC_PORT_LIST && notification == ui::CBN_SELCHANGE) {
    show_device();
    return true;
  }
  if (notification != ui::BN_CLICKED) return false;
  if (id == IDC_PORT_ASSIGN) {
    assign_device();
    return true;
  }
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

void PortSettingsDialog::show_device() {
  const int sel = cur_sel(IDC_PORT_LIST);
  set_item_text(IDC_PORT_DEVICE, sel < 0 ? "" : com_summary(sel + 1, ports_));
}

void PortSettingsDialog::assign_device() {
  const int sel = cur_sel(IDC_PORT_LIST);
  if (sel < 0) {
    focus_item(IDC_PORT_LIST);
    return;
  }
  PortDevicesDialog devices(this, sel + 1, find_ports());
  if (devices.do_modal() != IDOK) return;
  ports_ = find_ports();
  show_device();
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
