#include "desktop/dot_spacing_dialog.h"

#include <cstdio>

#include "config/settings_file.h"
#include "config/value_text.h"
#include "desktop/printing_dialog.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

namespace {

struct SpacingField {
  int field, display;
  double step;
};
constexpr SpacingField SPACINGS[] = {
    {IDC_TEN_HEIGHT, IDC_SHOW_TEN_HEIGHT, VERTICAL_STEP_MM},
    {IDC_TEN_WIDTH, IDC_SHOW_TEN_WIDTH, HORIZONTAL_STEP_MM},
    {IDC_MASU_BETWEEN, IDC_SHOW_MASU_BETWEEN, HORIZONTAL_STEP_MM},
    {IDC_GYO_BETWEEN, IDC_SHOW_GYO_BETWEEN, VERTICAL_STEP_MM},
};

bool is_field(int id) {
  switch (id) {
    case IDC_TEN_HEIGHT: case IDC_TEN_WIDTH: case IDC_MASU_BETWEEN:
    case IDC_GYO_BETWEEN: case IDC_START_X: case IDC_START_Y:
    case IDC_END_X: case IDC_END_Y: case IDC_PAPER_SIZE:
      return true;
    default:
      return false;
  }
}

}  // namespace

DotSpacingDialog::DotSpacingDialog(ui::Dialog* parent, std::string settings_path)
    : ui::Dialog(IDD_DOT_SPACING, parent), settings_path_(std::move(settings_path)) {}

bool DotSpacingDialog::on_init_dialog() {
  for (int id : {IDC_TEN_HEIGHT, IDC_TEN_WIDTH, IDC_MASU_BETWEEN, IDC_GYO_BETWEEN}) limit_text(id, 4);
  for (int id : {IDC_START_X, IDC_START_Y, IDC_END_X, IDC_END_Y}) limit_text(id, 5);
  load_layout_keys(settings_path_, settings);
  show_settings();
  return true;
}

void DotSpacingDialog::show_settings() {
  set_item_text(IDC_TEN_HEIGHT, fit_number(settings.TEN_HEIGHT, 2));
  set_item_text(IDC_TEN_WIDTH, fit_number(settings.TEN_WIDTH, 2));
  set_item_text(IDC_MASU_BETWEEN, fit_number(settings.MASU_BETWEEN, 2));
  set_item_text(IDC_GYO_BETWEEN, fit_number(settings.GYO_BETWEEN, 2));
  set_item_text(IDC_START_X, fit_number(settings.START_X, 1));
  set_item_text(IDC_START_Y, fit_number(settings.START_Y, 1));
  set_item_text(IDC_END_X, fit_number(settings.END_X, 1));
  set_item_text(IDC_END_Y, fit_number(settings.END_Y, 1));
  set_cur_sel(IDC_TEN_KIND, settings.TEN_KIND);
  set_cur_sel(IDC_PAPER_SIZE, settings.PAPER_SIZE);
  show_capacity();
}

double DotSpacingDialog::field_value(int id) const { return typed_real(item_text_limited(id)); }

// The spacing as whole device steps, beside its field.
void DotSpacingDialog::show_step_value(int field) {
  for (const auto& s : SPACINGS)
    if (s.field == field) set_item_text(s.display, fit_number(quantise(field_value(field), s.step), 2));
}

LayoutFields DotSpacingDialog::typed_fields() const {
  LayoutFields f;
  f.ten_height = field_value(IDC_TEN_HEIGHT);
  f.ten_width = field_value(IDC_TEN_WIDTH);
  f.masu_between = field_value(IDC_MASU_BETWEEN);
  f.gyo_between = field_value(IDC_GYO_BETWEEN);
  f.start_x = field_value(IDC_START_X);
  f.start_y = field_value(IDC_START_Y);
  f.end_x = field_value(IDC_END_X);
  f.end_y = field_value(IDC_END_Y);
  f.paper_selection = cur_sel(IDC_PAPER_SIZE);
  return f;
}

void DotSpacingDialog::show_capacity() {
  if (first_failed_check(typed_fields()) != 0) {
    set_item_text(IDC_CAPACITY, "—");
    return;
  }
  PrintSettings s = settings;
  read_controls_into(s);
  char text[64];
  std::snprintf(text, sizeof text, "%dマス × %d行", s.CPL, s.LPP);
  set_item_text(IDC_CAPACITY, text);
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
  s.TEN_HEIGHT = field_value(IDC_SHOW_TEN_HEIGHT);
  s.TEN_WIDTH = field_value(IDC_SHOW_TEN_WIDTH);
  s.MASU_BETWEEN = field_value(IDC_SHOW_MASU_BETWEEN);
  s.GYO_BETWEEN = field_value(IDC_SHOW_GYO_BETWEEN);
  s.START_X = field_value(IDC_START_X);
  s.START_Y = field_value(IDC_START_Y);
  s.END_X = field_value(IDC_END_X);
  s.END_Y = field_value(IDC_END_Y);
  s.TEN_KIND = cur_sel(IDC_TEN_KIND);
  s.PAPER_SIZE = cur_sel(IDC_PAPER_SIZE);
  compute_capacity(s);
}

void DotSpacingDialog::tell(const std::string& text, platform::MessageIcon icon, const std::string& caption) {
  ui::ui_services().message_box(this, text, caption, icon, ui::MessageButtons::ok);
}

bool DotSpacingDialog::confirm() {
  if (!validate_inputs()) return false;
  read_controls();
  if (!save_layout_keys(settings_path_, settings)) {
    tell(settings_write_failed(settings_path_), platform::MessageIcon::warning);
    return false;  // stays open with everything the user typed
  }
  tell(capacity_message(settings.CPL, settings.LPP), platform::MessageIcon::none, "マス数・行数の提示");
  return true;
}

void DotSpacingDialog::load_brs() {
  const auto path = ui::ui_services().open_file(this, BRS_FILTER);  // one file only
  if (!path) return;
  // A file that will not be read (missing, too big, not a file) changes
  // nothing; the message says which file and why.
  PrintSettings loaded = settings;
  const SettingsRead read = load_layout_keys(*path, loaded);
  if (read.file != platform::FileCheck::ok) {
    tell(std::string(SETTINGS_OPEN_FAILED) + "\n" + *path + "（" + platform::file_check_text(read.file) + "）",
         platform::MessageIcon::none);
    return;
  }
  settings = loaded;
  show_settings();
}

void DotSpacingDialog::save_brs() {
  const auto path = ui::ui_services().save_file(this, BRS_FILTER);
  if (!path) return;
  read_controls();
  if (!save_layout_keys(*path, settings)) tell(settings_write_failed(*path), platform::MessageIcon::warning);
}

bool DotSpacingDialog::on_command(int id, int notification) {
  if (notification == ui::EN_CHANGE || notification == ui::CBN_SELCHANGE) {
    show_step_value(id);
    if (is_field(id)) show_capacity();
    return true;
  }
  if (notification != ui::BN_CLICKED) return false;
  switch (id) {
    case IDC_SETTINGS_OK:
      if (confirm()) end_dialog(1);
      return true;
    case IDC_SETTINGS_CANCEL:
      on_cancel();
      return true;
    case IDC_SPACING_PRINT:
      if (confirm()) {
        PrintingDialog printing(this, settings_path_);
        printing.do_modal();
      }
      return true;
    case IDC_LOAD_SETTINGS:
      load_brs();
      return true;
    case IDC_SAVE_SETTINGS:
      save_brs();
      return true;
    default:
      return ui::Dialog::on_command(id, notification);
  }
}

}  // namespace tenji
