#pragma once

#include <string>

#include "resources/resource_ids.h"
#include "ui/dialog.h"

namespace tenji {

// The version dialog, with the program's version and the settings file in
// use: OK, Escape and the close box close it.
class AboutDialog : public ui::Dialog {
 public:
  AboutDialog(ui::Dialog* parent, std::string settings_path)
      : ui::Dialog(resources::IDD_ABOUT, parent), settings_path_(std::move(settings_path)) {}

 protected:
  bool on_init_dialog() override {
    set_item_text(resources::IDC_ABOUT_VERSION, "Version " TENJI_VERSION);
    set_item_text(resources::IDC_ABOUT_SETTINGS, "設定ファイル: " + settings_path_);
    return true;
  }

 private:
  std::string settings_path_;
};

}  // namespace tenji
