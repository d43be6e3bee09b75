#include "desktop/fit_warning_dialog.h"

#include "config/value_text.h"
#include "resources/resource_ids.h"

namespace tenji {

using namespace resources;

FitWarningDialog::FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count,
                                   bool offer_all_pages)
    : ui::Dialog(IDD_FIT_WARNING, parent),
      cpl_(cpl),
      lpp_(lpp),
      longest_line_(longest_line),
      line_count_(line_count),
      offer_all_pages_(offer_all_pages) {}

bool FitWarningDialog::on_init_dialog() {
  set_item_text(IDC_FIT_CPL, format_int(cpl_));
  set_item_text(IDC_FIT_LPP, format_int(lpp_));
  set_item_text(IDC_FIT_LONGEST_LINE, format_int(longest_line_));
  set_item_text(IDC_FIT_LINE_COUNT, format_int(line_count_));
  show_item(IDC_FIT_ALL_PAGES, offer_all_pages_);
  return true;
}

bool FitWarningDialog::on_command(int id, int notification) {
  if (id == IDC_FIT_ALL_PAGES && notification == ui::BN_CLICKED && offer_all_pages_) {
    end_dialog(IDC_FIT_ALL_PAGES);
    return true;
  }
  return ui::Dialog::on_command(id, notification);
}

}  // namespace tenji
