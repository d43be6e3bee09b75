// Dialog templates, the menu and the icons as data: every window of the
// program is built from these, with the Japanese texts as they stand.
#pragma once

#include <string>
#include <vector>

namespace tenji::resources {

enum class ControlKind {
  push_button,
  default_push_button,
  static_left,
  static_right,
  edit,
  drop_down_list,
  picture,
  progress_bar,  // 0 to 1000
  page_view,     // a picture the dialog class sets, scrolled when larger than its room
};

inline bool is_label(ControlKind k) { return k == ControlKind::static_left || k == ControlKind::static_right; }

// Keys a dialog takes wherever its focus is, as commands.
enum class Key { page_up, page_down, home, end, plus, minus };

struct Accelerator {
  Key key;
  bool ctrl = false;
  int command = 0;
};

// Edit styles.
enum EditStyle : unsigned {
  ES_NONE = 0,
  ES_RIGHT_ALIGNED = 1,
  ES_DIGITS_ONLY = 2,
  ES_BORDER = 4,
  ES_HSCROLL = 8,
  ES_STANDARD = ES_RIGHT_ALIGNED | ES_BORDER | ES_HSCROLL,
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

inline constexpr int NO_ID = -1;  // statics that nothing refers to

struct ControlTemplate {
  int id = NO_ID;
  ControlKind kind = ControlKind::static_left;
  std::string text;
  Rect rect;  // dialog units
  unsigned edit_style = ES_NONE;
  std::vector<std::string> items;  // drop-down lists
  int image_id = 0;                // pictures: the bitmap resource
  // For screen readers: a value display is read as "<meaning> <text> <unit>"
  // and tied to its field; a field with a unit has it as its description; a
  // status line is named by its meaning.
  std::string meaning;
  std::string unit;
  int field = NO_ID;
  bool read_only = false;  // edits: a status line that can take the focus
  bool live = false;       // a status read out as its text changes
  bool multi_line = false; // edits: read-only text of several lines
};

struct WindowStyle {
  bool system_menu = true;  // and with it the close box
  bool minimize_box = false;
  bool app_window = false;  // shown on the taskbar
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  WindowStyle style;
  int width = 0, height = 0;  // dialog units
  std::string font_face = "ＭＳ Ｐゴシック";
  int font_points = 9;
  int menu_id = 0;
  std::vector<ControlTemplate> controls;  // in tab order
  // A warning that screen readers read out when it opens, as they do a
  // message box: its text.
  std::string alert;
  std::vector<Accelerator> accelerators;
};

struct MenuItem {
  std::string text;
  int command = 0;               // 0 for a pop-up
  std::vector<MenuItem> items;   // the pop-up's items
};

struct MenuTemplate {
  int id = 0;
  std::vector<MenuItem> bar;
};

// A 32 x 32 icon: rows of palette letters.
struct IconTemplate {
  int id = 0;
  std::vector<std::string> rows;
};

const DialogTemplate& dialog_template(int id);  // throws std::out_of_range for unknown ids
const std::vector<int>& dialog_template_ids();
const MenuTemplate& menu_template(int id);
const IconTemplate& icon_template(int id);
// The 16 colours of the icons, by palette letter '0'-'9', 'a'-'f', as 0xRRGGBB.
unsigned icon_palette_colour(char letter);

inline constexpr const char* APP_CAPTION = "点字点間隔可変印刷プログラム（RUK350 Ver95用）";

}  // namespace tenji::resources
