#include "desktop/port_devices_dialog.h"

#include <algorithm>

#include "desktop/port_words.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

namespace {

// A device once, under the number the dialog gives if it has it already.
std::vector<FoundPort> devices_once(std::vector<FoundPort> ports, int com_number) {
  std::stable_sort(ports.begin(), ports.end(), [&](const FoundPort& a, const FoundPort& b) {
    return (a.com_number == com_number) > (b.com_number == com_number);
  });
  std::vector<FoundPort> once;
  for (const FoundPort& p : ports)
    if (std::none_of(once.begin(), once.end(), [&](const FoundPort& o) { return o.device == p.device; }))
      once.push_back(p);
  std::stable_sort(once.begin(), once.end(), [](const FoundPort& a, const FoundPort& b) { return a.device < b.device; });
  return once;
}

}  // namespace

PortDevicesDialog::PortDevicesDialog(ui::Dialog* parent, int com_number, std::vector<FoundPort> ports)
    : ui::Dialog(IDD_PORT_DEVICES, parent), com_number_(com_number), ports_(devices_once(std::move(ports), com_number)) {}

bool PortDevicesDialog::on_init_dialog() {
  set_item_text(IDC_DEVICES_LABEL, com_word(com_number_) + " に割り当てる装置(&L)");
  std::vector<std::string> items;
  // The device that has the number already; else an adapter without one,
  // the one a user binding a number most likely just plugged in.
  int current = -1, fresh_adapter = -1;
  for (std::size_t i = 0; i < ports_.size(); ++i) {
    items.push_back(device_choice(ports_[i]));
    if (ports_[i].com_number == com_number_) current = static_cast<int>(i);
    if (fresh_adapter < 0 && ports_[i].usb && !ports_[i].com_number) fresh_adapter = static_cast<int>(i);
  }
  if (current < 0) current = fresh_adapter >= 0 ? fresh_adapter : ports_.empty() ? -1 : 0;
  set_list_items(IDC_DEVICE_LIST, items);
  set_cur_sel(IDC_DEVICE_LIST, current);
  enable_item(IDOK, !ports_.empty());
  show_note();
  focus_item(ports_.empty() ? IDCANCEL : IDC_DEVICE_LIST);
  return true;
}

bool PortDevicesDialog::on_command(int id, int notification) {
  if (id == IDC_DEVICE_LIST && notification == ui::CBN_SELCHANGE) {
    show_note();
    return true;
  }
  return ui::Dialog::on_command(id, notification);
}

// What the link will name, and whether that survives re-plugging.
void PortDevicesDialog::show_note() {
  const int sel = cur_sel(IDC_DEVICE_LIST);
  if (ports_.empty()) {
    set_item_text(IDC_DEVICE_NOTE, "シリアルポートの装置が見つかりません。USB アダプターをつないでから、もう一度開いてください。");
  } else if (sel < 0 || sel >= static_cast<int>(ports_.size())) {
    set_item_text(IDC_DEVICE_NOTE, "");
  } else if (const FoundPort& p = ports_[static_cast<std::size_t>(sel)]; !p.stable_name.empty()) {
    set_item_text(IDC_DEVICE_NOTE, p.stable_name + " で割り当てます。抜き差ししても " + com_word(com_number_) + " のままです。");
  } else {
    set_item_text(IDC_DEVICE_NOTE, p.device + " で割り当てます。");
  }
}

void PortDevicesDialog::on_ok() {
  const int sel = cur_sel(IDC_DEVICE_LIST);
  if (sel < 0 || sel >= static_cast<int>(ports_.size())) return;
  const FoundPort& p = ports_[static_cast<std::size_t>(sel)];
  const std::string why = bind_com_port(com_number_, p.stable_name.empty() ? p.device : p.stable_name);
  if (!why.empty()) {
    // Stays open: the user may pick another device or cancel.
    ui::ui_services().message_box(this, why, "", platform::MessageIcon::warning, ui::MessageButtons::ok);
    return;
  }
  end_dialog(IDOK);
}

}  // namespace tenji
