#include "desktop/copies_dialog.h"

#include "config/value_text.h"
#include "desktop/window_messages.h"
#include "resources/resource_ids.h"

namespace tenji {

using namespace resources;

CopiesDialog::CopiesDialog(ui::Dialog* parent) : ui::Dialog(IDD_COPIES, parent) {}

bool CopiesDialog::on_init_dialog() {
  limit_text(IDC_COPIES, 3);
  set_item_text(IDC_COPIES, "1");
  focus_item(IDC_COPIES);
  return true;
}

void CopiesDialog::on_ok() {
  // Leading digits count; text without digits gives 0.
  const int n = typed_int(item_text(IDC_COPIES));
  if (parent()) parent()->send_message(WM_SET_COPIES, static_cast<std::uintptr_t>(n < 0 ? 0 : n), 0);
  end_dialog(ui::IDOK);
}

}  // namespace tenji
