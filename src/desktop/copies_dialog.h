#pragma once

#include "ui/dialog.h"

namespace tenji {

// The number of copies, sent to the printing dialog with WM_SET_COPIES.
class CopiesDialog : public ui::Dialog {
 public:
  explicit CopiesDialog(ui::Dialog* parent);

 protected:
  bool on_init_dialog() override;
  void on_ok() override;
};

}  // namespace tenji
