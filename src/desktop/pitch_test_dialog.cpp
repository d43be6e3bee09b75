#include "desktop/pitch_test_dialog.h"

#include "config/value_text.h"
#include "desktop/window_messages.h"
#include "resources/resource_ids.h"

namespace tenji {

using namespace resources;

PitchTestDialog::PitchTestDialog(ui::Dialog* parent) : ui::Dialog(IDD_PITCH_TEST, parent) {}

bool PitchTestDialog::on_init_dialog() {
  limit_text(IDC_PITCH_X, 4);
  set_item_text(IDC_PITCH_X, "0");
  limit_text(IDC_PITCH_Y, 4);
  set_item_text(IDC_PITCH_Y, "0");
  return true;
}

void PitchTestDialog::on_ok() {
  const int x = typed_int(item_text(IDC_PITCH_X));
  const int y = typed_int(item_text(IDC_PITCH_Y));
  if (parent())
    parent()->send_message(WM_SET_PITCH, static_cast<std::uintptr_t>(x), static_cast<std::intptr_t>(y));
  end_dialog(ui::IDOK);
}

}  // namespace tenji
