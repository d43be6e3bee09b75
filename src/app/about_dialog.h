#pragma once

#include "ui/dialog.h"

namespace tenji {

// The version dialog: OK, Escape and the close box close it.
class AboutDialog : public ui::Dialog {
 public:
  AboutDialog() : ui::Dialog(100, nullptr) {}
};

}  // namespace tenji
