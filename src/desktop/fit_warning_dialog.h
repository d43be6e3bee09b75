#pragma once

#include "ui/dialog.h"

namespace tenji {

// 印刷時の警告: the document does not fit the print area. IDOK prints what
// fits, IDCANCEL stops.
class FitWarningDialog : public ui::Dialog {
 public:
  FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count);

 protected:
  bool on_init_dialog() override;

 private:
  int cpl_, lpp_, longest_line_, line_count_;
};

}  // namespace tenji
