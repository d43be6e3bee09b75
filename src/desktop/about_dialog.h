#pragma once

#include "resources/resource_ids.h"
#include "ui/dialog.h"

namespace tenji {

// The version dialog: OK, Escape and the close box close it.
class AboutDialog : public ui::Dialog {
 public:
  AboutDialog() : ui::Dialog(resources::IDD_ABOUT, nullptr) {}
};

}  // namespace tenji
