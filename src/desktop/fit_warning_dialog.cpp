#include "desktop/fit_warning_dialog.h"

#include "config/value_text.h"
#include "resources/resource_ids.h"

namespace tenji {

using namespace resources;

FitWarningDialog::FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count)
    : ui::Dialog(IDD_FIT_WARNING, parent), cpl_(cpl), lpp_(lpp), longest_line_(longest_line), line_count_(line_count) {}

bool FitWarningDialog::on_init_dialog() {
  set_item_text(IDC_FIT_CPL, format_int(cpl_));
  set_item_text(IDC_FIT_LPP, format_int(lpp_));
  set_item_text(IDC_FIT_LONGEST_LINE, format_int(longest_line_));
  set_item_text(IDC_FIT_LINE_COUNT, format_int(line_count_));
  return true;
}

}  // namespace tenji
