#pragma once

#include "ui/dialog.h"

namespace tenji {

// 印刷時の警告: the document does not fit the print area. IDOK prints what
// fits, IDCANCEL stops; for a document longer than a page (when offered)
// IDC_FIT_ALL_PAGES prints every page.
class FitWarningDialog : public ui::Dialog {
 public:
  FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count,
                   bool offer_all_pages = false);

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;

 private:
  int cpl_, lpp_, longest_line_, line_count_;
  bool offer_all_pages_;
};

}  // namespace tenji
