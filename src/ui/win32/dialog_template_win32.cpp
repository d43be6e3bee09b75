#include "ui/win32/dialog_template_win32.h"

#include "ui/win32/windows_api.h"

#include "platform/wide_text.h"

namespace tenji::ui {

using platform::widen;

namespace {

using resources::ControlKind;

class TemplateWriter {
 public:
  void word(unsigned v) { words.push_back(static_cast<unsigned short>(v & 0xFFFF)); }
  void dword(unsigned long v) {
    word(v & 0xFFFF);
    word(v >> 16);
  }
  void text(const std::string& s) {
    for (wchar_t c : widen(s)) word(static_cast<unsigned>(c));
    word(0);
  }
  void align_dword() {
    if (words.size() % 2) word(0);
  }
  std::vector<unsigned short> words;
};

DWORD control_style(const resources::ControlTemplate& c) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (c.kind) {
    case ControlKind::push_button: return style | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::default_push_button: return style | WS_TABSTOP | BS_DEFPUSHBUTTON;
    case ControlKind::static_left: return style | SS_LEFT;
    case ControlKind::static_right: return style | SS_RIGHT;
    case ControlKind::edit:
      style |= WS_TABSTOP;
      if (c.edit_style & resources::ES_RIGHT_ALIGNED) style |= ES_RIGHT;
      if (c.edit_style & resources::ES_DIGITS_ONLY) style |= ES_NUMBER;
      if (c.edit_style & resources::ES_BORDER) style |= WS_BORDER;
      if (c.edit_style & resources::ES_HSCROLL) style |= ES_AUTOHSCROLL;
      if (c.read_only) style |= ES_READONLY;
      if (c.multi_line) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER;
      return style;
    case ControlKind::drop_down_list: return style | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ControlKind::picture: return style | SS_BITMAP;
    case ControlKind::progress_bar: return style | WS_BORDER | PBS_SMOOTH;
    case ControlKind::page_view: return style | WS_BORDER | WS_HSCROLL | WS_VSCROLL;
  }
  return style;
}

const char* control_class(ControlKind k) {
  switch (k) {
    case ControlKind::push_button:
    case ControlKind::default_push_button: return "BUTTON";
    case ControlKind::edit: return "EDIT";
    case ControlKind::drop_down_list: return "COMBOBOX";
    case ControlKind::progress_bar: return "msctls_progress32";
    case ControlKind::page_view: return "TenjiPageView";
    default: return "STATIC";
  }
}

}  // namespace

std::vector<unsigned short> win32_dialog_template(const resources::DialogTemplate& t) {
  TemplateWriter w;
  // Visible: the window shows once its initialisation is over. The font is
  // the template's, so that dialog units are those of its font.
  DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;
  if (t.style.system_menu) style |= WS_SYSMENU;
  if (t.style.minimize_box) style |= WS_MINIMIZEBOX;
  w.word(1);
  w.word(0xFFFF);
  w.dword(0);                                              // help id
  w.dword(t.style.app_window ? WS_EX_APPWINDOW : 0);       // extended style
  w.dword(style);
  w.word(static_cast<unsigned>(t.controls.size()));
  w.word(0), w.word(0), w.word(static_cast<unsigned>(t.width)), w.word(static_cast<unsigned>(t.height));
  w.word(0);  // menu: attached when the window is made
  w.word(0);  // the dialog class
  w.text(t.caption);
  w.word(static_cast<unsigned>(t.font_points));
  w.word(FW_NORMAL);
  w.word(SHIFTJIS_CHARSET << 8);  // italic 0, then the character set
  w.text(t.font_face);
  bool first = true;
  for (const auto& c : t.controls) {
    w.align_dword();
    w.dword(0);  // help id
    w.dword(0);  // extended style
    // A group starts at the first control and at every label, as the
    // resource compiler has it, so arrow keys stay among their neighbours.
    w.dword(control_style(c) | (first || resources::is_label(c.kind) ? WS_GROUP : 0));
    first = false;
    w.word(static_cast<unsigned>(c.rect.x)), w.word(static_cast<unsigned>(c.rect.y));
    w.word(static_cast<unsigned>(c.rect.width)), w.word(static_cast<unsigned>(c.rect.height));
    w.dword(static_cast<unsigned long>(c.id));  // -1: a static nothing refers to
    w.text(control_class(c.kind));
    w.text(c.kind == ControlKind::picture ? std::string() : c.text);
    w.word(0);  // no creation data
  }
  return w.words;
}

}  // namespace tenji::ui
