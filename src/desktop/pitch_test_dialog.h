#pragma once

#include "ui/dialog.h"

namespace tenji {

// ピッチ指定１点字印刷: the device position of the test cell, sent to the
// printing dialog with WM_SET_PITCH.
class PitchTestDialog : public ui::Dialog {
 public:
  explicit PitchTestDialog(ui::Dialog* parent);

 protected:
  bool on_init_dialog() override;
  void on_ok() override;
};

}  // namespace tenji
