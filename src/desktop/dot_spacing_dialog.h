// 点間隔等の設定: the Braille geometry, dot size, paper and print area, each
// spacing shown as the embosser really produces it, with the cells per line
// and lines per page the fields would give.
#pragma once

#include <string>

#include "config/layout_rules.h"
#include "config/print_settings.h"
#include "config/settings_file.h"
#include "platform/alert.h"
#include "ui/dialog.h"

namespace tenji {

inline constexpr const char* BRS_FILTER = "*.brs|*.brs|*.*|*.*||";
inline constexpr const char* SETTINGS_OPEN_FAILED = "設定ファイルを開けませんでした。";

class DotSpacingDialog : public ui::Dialog {
 public:
  DotSpacingDialog(ui::Dialog* parent, std::string settings_path);

  PrintSettings settings;

  void show_settings();
  bool validate_inputs();
  void read_controls();

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;

 private:
  bool confirm();  // validate, save, show the counts
  void load_brs();
  void save_brs();
  void show_step_value(int field);
  void show_capacity();
  void read_controls_into(PrintSettings& s) const;
  LayoutFields typed_fields() const;
  double field_value(int id) const;
  void tell(const std::string& text, platform::MessageIcon icon, const std::string& caption = "");

  std::string settings_path_;
};

}  // namespace tenji
