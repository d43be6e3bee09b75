#include "config/dot_spacing_dialog.h"

#include <cstdio>

#include "config/settings_file.h"
#include "config/value_text.h"
#include "print/printing_dialog.h"
#include "ui/ui_services.h"

namespace tenji {

namespace {

struct SpacingField {
  int field, display;
  double step;
};
constexpr SpacingField SPACINGS[] = {
    {DotSpacingDialog::ID_TEN_HEIGHT, DotSpacingDialog::ID_SHOW_TEN_HEIGHT, VERTICAL_STEP_MM},
    {DotSpacingDialog::ID_TEN_WIDTH, DotSpacingDialog::ID_SHOW_TEN_WIDTH, HORIZONTAL_STEP_MM},
    {DotSpacingDialog::ID_MASU, DotSpacingDialog::ID_SHOW_MASU, HORIZONTAL_STEP_MM},
    {DotSpacingDialog::ID_GYO, DotSpacingDialog::ID_SHOW_GYO, VERTICAL_STEP_MM},
};

bool is_field(int id) {
  switch (id) {
    case DotSpacingDialog::ID_TEN_HEIGHT: case DotSpacingDialog::ID_TEN_WIDTH: case DotSpacingDialog::ID_MASU:
    case DotSpacingDialog::ID_GYO: case DotSpacingDialog::ID_START_X: case DotSpacingDialog::ID_START_Y:
    case DotSpacingDialog::ID_END_X: case DotSpacingDialog::ID_END_Y: case DotSpacingDialog::ID_PAPER:
      return true;
    default:
      return false;
  }
}

}  // namespace

DotSpacingDialog::DotSpacingDialog(ui::Dialog* parent, std::string settings_path)
    : ui::Dialog(130, parent), settings_path_(std::move(settings_path)) {}

bool DotSpacingDialog::on_init_dialog() {
  for (int id : {ID_TEN_HEIGHT, ID_TEN_WIDTH, ID_MASU, ID_GYO}) limit_text(id, 4);
  for (int id : {ID_START_X, ID_START_Y, ID_END_X, ID_END_Y}) limit_text(id, 5);
  load_layout_keys(settings_path_, settings);
  show_settings();
  return true;
}

void DotSpacingDialog::show_settings() {
  set_item_text(ID_TEN_HEIGHT, fit_number(settings.TEN_HEIGHT, 2));
  set_item_text(ID_TEN_WIDTH, fit_number(settings.TEN_WIDTH, 2));
  set_item_text(ID_MASU, fit_number(settings.MASU_BETWEEN, 2));
  set_item_text(ID_GYO, fit_number(settings.GYO_BETWEEN, 2));
  set_item_text(ID_START_X, fit_number(settings.START_X, 1));
  set_item_text(ID_START_Y, fit_number(settings.START_Y, 1));
  set_item_text(ID_END_X, fit_number(settings.END_X, 1));
  set_item_text(ID_END_Y, fit_number(settings.END_Y, 1));
  set_cur_sel(ID_TEN_KIND, settings.TEN_KIND);
  set_cur_sel(ID_PAPER, settings.PAPER_SIZE);
  show_capacity();
}

double DotSpacingDialog::field_value(int id) const { return text_to_real(item_text_limited(id)); }

// The spacing as whole device steps, beside its field.
void DotSpacingDialog::show_step_value(int field) {
  for (const auto& s : SPACINGS)
    if (s.field == field) set_item_text(s.display, fit_number(quantise(field_value(field), s.step), 2));
}

LayoutFields DotSpacingDialog::typed_fields() const {
  LayoutFields f;
  f.ten_height = field_value(ID_TEN_HEIGHT);
  f.ten_width = field_value(ID_TEN_WIDTH);
  f.masu_between = field_value(ID_MASU);
  f.gyo_between = field_value(ID_GYO);
  f.start_x = field_value(ID_START_X);
  f.start_y = field_value(ID_START_Y);
  f.end_x = field_value(ID_END_X);
  f.end_y = field_value(ID_END_Y);
  f.paper_selection = cur_sel(ID_PAPER);
  return f;
}

void DotSpacingDialog::show_capacity() {
  if (first_failed_check(typed_fields()) != 0) {
    set_item_text(ID_CAPACITY, "—");
    return;
  }
  PrintSettings s = settings;
  read_controls_into(s);
  char text[64];
  std::snprintf(text, sizeof text, "%dマス × %d行", s.CPL, s.LPP);
  set_item_text(ID_CAPACITY, text);
}

bool DotSpacingDialog::validate_inputs() {
  const int failed = first_failed_check(typed_fields());
  if (failed == 0) return true;
  tell(check_message(failed), platform::MessageIcon::warning);
  return false;
}

void DotSpacingDialog::read_controls() { read_controls_into(settings); }

// The stored spacings are the displays of whole steps, not the typed values.
void DotSpacingDialog::read_controls_into(PrintSettings& s) const {
  s.TEN_HEIGHT = field_value(ID_SHOW_TEN_HEIGHT);
  s.TEN_WIDTH = field_value(ID_SHOW_TEN_WIDTH);
  s.MASU_BETWEEN = field_value(ID_SHOW_MASU);
  s.GYO_BETWEEN = field_value(ID_SHOW_GYO);
  s.START_X = field_value(ID_START_X);
  s.START_Y = field_value(ID_START_Y);
  s.END_X = field_value(ID_END_X);
  s.END_Y = field_value(ID_END_Y);
  s.TEN_KIND = cur_sel(ID_TEN_KIND);
  s.PAPER_SIZE = cur_sel(ID_PAPER);
  compute_capacity(s);
}

void DotSpacingDialog::tell(const std::string& text, platform::MessageIcon icon, const std::string& caption) {
  ui::ui_services().message_box(this, text, caption, icon, ui::MessageButtons::ok);
}

bool DotSpacingDialog::confirm() {
  if (!validate_inputs()) return false;
  read_controls();
  if (!save_layout_keys(settings_path_, settings)) {
    tell(SETTINGS_WRITE_FAILED, platform::MessageIcon::warning);
    return false;  // stays open with everything the user typed
  }
  tell(capacity_message(settings.CPL, settings.LPP), platform::MessageIcon::none, "マス数・行数の提示");
  return true;
}

void DotSpacingDialog::load_brs() {
  const auto path = ui::ui_services().open_file(this, BRS_FILTER);  // one file only
  if (!path) return;
  if (std::FILE* f = std::fopen(path->c_str(), "r")) {
    std::fclose(f);
  } else {
    tell(SETTINGS_OPEN_FAILED, platform::MessageIcon::none);
    return;
  }
  load_layout_keys(*path, settings);
  show_settings();
}

void DotSpacingDialog::save_brs() {
  const auto path = ui::ui_services().save_file(this, BRS_FILTER);
  if (!path) return;
  read_controls();
  if (!save_layout_keys(*path, settings)) tell(SETTINGS_WRITE_FAILED, platform::MessageIcon::warning);
}

bool DotSpacingDialog::on_command(int id, int notification) {
  if (notification == ui::EN_CHANGE || notification == ui::CBN_SELCHANGE) {
    show_step_value(id);
    if (is_field(id)) show_capacity();
    return true;
  }
  if (notification != ui::BN_CLICKED) return false;
  switch (id) {
    case ID_OK:
      if (confirm()) end_dialog(1);
      return true;
    case ID_CANCEL:
      on_cancel();
      return true;
    case ID_PRINT:
      if (confirm()) {
        PrintingDialog printing(this, settings_path_);
        printing.do_modal();
      }
      return true;
    case ID_LOAD:
      load_brs();
      return true;
    case ID_SAVE:
      save_brs();
      return true;
    default:
      return ui::Dialog::on_command(id, notification);
  }
}

}  // namespace tenji
