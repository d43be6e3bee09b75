#include "ui/dialog.h"

#include "ui/win32/windows_api.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "platform/debug_output.h"
#include "resources/dialog_template.h"
#include "resources/pixels.h"
#include "resources/png_file.h"
#include "ui/ui_services.h"
#include "ui/win32/dialog_template_win32.h"
#include "ui/spoken_text.h"
#include "ui/win32/accessibility_win32.h"
#include "ui/win32/dialog_win32.h"
#include "ui/win32/focus_return_win32.h"
#include "ui/win32/images_win32.h"
#include "ui/win32/page_view_win32.h"
#include "platform/wide_text.h"

namespace tenji::ui {

using platform::narrow;
using platform::widen;

namespace {

using resources::ControlKind;

// Posted to the dialog itself once its window shows and its modal loop runs.
constexpr UINT WM_DIALOG_SHOWN = WM_APP + 1;

struct PostedMessage {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

// The dialog's own messages: WM_USER and up, but the two the dialog manager
// uses to find the default button.
bool is_dialog_message(UINT m) { return m >= WM_USER && m < WM_APP && m != DM_GETDEFID && m != DM_SETDEFID; }

HMENU build_menu(int menu_id) {
  HMENU bar = CreateMenu();
  for (const auto& entry : resources::menu_template(menu_id).bar) {
    if (entry.items.empty()) {
      AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(entry.command), widen(entry.text).c_str());
      continue;
    }
    HMENU popup = CreatePopupMenu();
    for (const auto& item : entry.items)
      AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.command), widen(item.text).c_str());
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(entry.text).c_str());
  }
  return bar;
}

// Centres `window` over `over`, else on the work area of its monitor.
void centre_window(HWND window, HWND over) {
  RECT mine{}, area{};
  GetWindowRect(window, &mine);
  if (over) {
    GetWindowRect(over, &area);
  } else {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  }
  const int w = mine.right - mine.left, h = mine.bottom - mine.top;
  SetWindowPos(window, nullptr, (area.left + area.right - w) / 2, (area.top + area.bottom - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The key of an accelerator, as Windows names it.
bool matches(resources::Key key, WPARAM vk) {
  switch (key) {
    case resources::Key::page_up: return vk == VK_PRIOR;
    case resources::Key::page_down: return vk == VK_NEXT;
    case resources::Key::home: return vk == VK_HOME;
    case resources::Key::end: return vk == VK_END;
    case resources::Key::plus: return vk == VK_OEM_PLUS || vk == VK_ADD;
    case resources::Key::minus: return vk == VK_OEM_MINUS || vk == VK_SUBTRACT;
  }
  return false;
}

// A Japanese input method gives full-width digits, which a digits-only edit
// refuses on some systems: they arrive as the ASCII digits they are.
LRESULT CALLBACK digits_as_ascii(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_CHAR && wparam >= 0xFF10 && wparam <= 0xFF19) wparam = L'0' + (wparam - 0xFF10);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, digits_as_ascii, 0);
  return DefSubclassProc(edit, message, wparam, lparam);
}

// The modal dialogs of this thread that have accelerators, newest last.
thread_local std::vector<Dialog::Impl*> accelerated;
LRESULT CALLBACK accelerator_hook(int code, WPARAM wparam, LPARAM lparam);

}  // namespace

struct Dialog::Impl {
  Dialog* owner = nullptr;
  const resources::DialogTemplate* tmpl = nullptr;
  std::vector<unsigned short> template_words;
  std::map<int, const resources::ControlTemplate*> controls;
  HWND hwnd = nullptr;
  bool picture_only = false;  // made by show_window, outside a modal run
  bool initialising = false;
  bool focused_in_init = false;  // the dialog class chose the first focus
  bool ended = false;
  int result = 0;
  int icons[2] = {0, 0};
  HICON icon_handles[2] = {nullptr, nullptr};
  std::vector<std::pair<HWND, HBITMAP>> pictures;  // of the window that exists
  HFONT braille_font = nullptr;  // of its multi-line text, when the dialog's font lacks the patterns
  // Posts from other threads: to the window while it exists, else kept for
  // the one about to be made; those to a closed window go with it.
  std::mutex post_mutex;
  std::vector<PostedMessage> pending;
  bool closed = false;

  ~Impl() {
    for (HICON i : icon_handles)
      if (i) DestroyIcon(i);
  }

  HWND item(int id) const {
    if (!controls.count(id)) {
      // A dialog class that reaches for a control its template lacks is
      // wrong; say so where a developer sees it.
      char text[96];
      std::snprintf(text, sizeof text, "dialog %d has no control %d", owner->template_id(), id);
      platform::debug_output(text);
      return nullptr;
    }
    return hwnd ? GetDlgItem(hwnd, id) : nullptr;
  }

  void apply_icons() {
    if (!hwnd || !icons[0]) return;
    // At least the 96-DPI sizes grown with the screen's DPI: where the
    // system's metrics do not grow with it (Wine), the icons would stay
    // small in a dialog that did.
    const int dpi = static_cast<int>(owner->screen_dpi());
    const int sizes[2] = {std::max(GetSystemMetrics(SM_CXICON), MulDiv(32, dpi, 96)),
                          std::max(GetSystemMetrics(SM_CXSMICON), MulDiv(16, dpi, 96))};
    for (int k = 0; k < 2; ++k) {
      HICON previous = icon_handles[k];
      icon_handles[k] = icon_of(icons[k], sizes[k]);
      SendMessageW(hwnd, WM_SETICON, k == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon_handles[k]));
      if (previous) DestroyIcon(previous);  // no longer the window's
    }
  }

  // Each control's window with its template: the dialog makes its children
  // in template order, and that is their order among its children (statics
  // without an id included).
  template <typename F>
  void for_each_control(F&& f) {
    std::size_t index = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child && index < tmpl->controls.size();
         child = GetWindow(child, GW_HWNDNEXT))
      f(child, tmpl->controls[index++]);
  }

  // The menu, the lists' items, the pictures and the progress range: what the
  // template words cannot carry.
  void complete_window() {
    if (tmpl->menu_id) {
      RECT before{}, after{};
      GetClientRect(hwnd, &before);
      SetMenu(hwnd, build_menu(tmpl->menu_id));
      GetClientRect(hwnd, &after);
      // The menu bar takes its height from the client area; the window grows
      // by it, so the template's controls keep their room.
      RECT frame{};
      GetWindowRect(hwnd, &frame);
      SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left,
                   frame.bottom - frame.top + (before.bottom - after.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for_each_control([&](HWND child, const resources::ControlTemplate& c) {
      if (c.kind == ControlKind::progress_bar) SendMessageW(child, PBM_SETRANGE32, 0, 1000);
      if (c.kind == ControlKind::drop_down_list)
        for (const auto& text : c.items)
          SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
      if (c.edit_style & resources::ES_DIGITS_ONLY) SetWindowSubclass(child, digits_as_ascii, 0, 0);
      if (c.multi_line) use_braille_font(child);
      if (c.kind == ControlKind::picture && c.image_id == resources::IDB_GEOMETRY) {
        // Drawn for 96 DPI; the dialog grew with the screen's DPI.
        HBITMAP b = bitmap_of(resources::scaled(resources::geometry_picture(), owner->screen_dpi() / 96.0));
        pictures.emplace_back(child, b);
        SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(b));
      }
    });
    widen_one_line_labels();
    apply_icons();
    for_each_control(describe_for_screen_readers);
    if (!tmpl->alert.empty()) set_accessible_description(hwnd, tmpl->alert);
  }

  // The multi-line text shows Braille (U+2800-U+283F), which the dialog's
  // Japanese font does not have and an edit does not look for elsewhere: a
  // font that has the patterns, at the dialog font's height.
  void use_braille_font(HWND text) {
    HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    GetObjectW(dialog_font, sizeof font, &font);
    HDC dc = GetDC(hwnd);
    for (const wchar_t* face : {L"Segoe UI Symbol", L"DejaVu Sans"}) {
      wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
      font.lfCharSet = DEFAULT_CHARSET;
      HFONT candidate = CreateFontIndirectW(&font);
      HGDIOBJ old = SelectObject(dc, candidate);
      WORD glyph = 0xFFFF;
      const bool has = GetGlyphIndicesW(dc, L"\u2801", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 && glyph != 0xFFFF;
      SelectObject(dc, old);
      if (has) {
        braille_font = candidate;
        SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(candidate), FALSE);
        break;
      }
      DeleteObject(candidate);
    }
    ReleaseDC(hwnd, dc);
  }

  // A font that runs wider than the template's (IPAPGothic for ＭＳ Ｐゴシック)
  // would cut a one-line label short: it takes the room its text needs, as
  // far as the window reaches.
  void widen_one_line_labels() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    RECT margin{0, 0, 4, 0}, client{};
    MapDialogRect(hwnd, &margin);
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    for_each_control([&](HWND child, const resources::ControlTemplate& c) {
      if (c.kind != ControlKind::static_left || c.rect.height >= 16 || c.text.empty()) return;
      std::wstring text = widen(c.text);
      std::erase(text, L'&');
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
      const int room = client.right - r.left - margin.right;
      if (size.cx > r.right - r.left)
        SetWindowPos(child, nullptr, 0, 0, std::min<int>(size.cx, room), r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
  }

  // The window exists: from here on posts reach it directly.
  void attach(HWND window) {
    std::lock_guard lock(post_mutex);
    hwnd = window;
    closed = false;
    for (const auto& m : pending) PostMessageW(hwnd, m.message, m.wparam, m.lparam);
    pending.clear();
  }
  void detach() {
    // A static of common controls 6 may show a copy of a bitmap with alpha:
    // both go.
    for (auto [control, ours] : pictures) {
      auto shown = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, 0));
      if (shown && shown != ours) DeleteObject(shown);
      DeleteObject(ours);
    }
    pictures.clear();
    if (braille_font) DeleteObject(braille_font);
    braille_font = nullptr;
    std::lock_guard lock(post_mutex);
    hwnd = nullptr;
    closed = true;
    pending.clear();
  }

  INT_PTR init(HWND window) {
    attach(window);
    complete_window();
    if (picture_only) return TRUE;
    initialising = true;
    focused_in_init = false;
    const bool focus_first = owner->on_init_dialog();
    initialising = false;
    // A field the dialog class focused keeps the focus (and has its text
    // selected); otherwise the dialog manager gives it to the first control.
    const BOOL default_focus = focus_first && !focused_in_init ? TRUE : FALSE;
    // Messages posted while it was made are handled before the window shows,
    // so a dialog that ended on them never appears.
    MSG m;
    while (!ended && PeekMessageW(&m, hwnd, WM_USER, WM_APP - 1, PM_REMOVE)) DispatchMessageW(&m);
    if (ended) {
      EndDialog(hwnd, result);
      return TRUE;
    }
    centre_window(hwnd, owner->parent() ? visible_window(owner->parent()) : nullptr);
    PostMessageW(hwnd, WM_DIALOG_SHOWN, 0, 0);
    return default_focus;
  }

  // A key of the template's taken before the control that has the focus
  // sees it (an edit would move its caret on PageDown or Home).
  bool accelerator(const MSG& m) {
    if (m.message != WM_KEYDOWN || !hwnd || (m.hwnd != hwnd && !IsChild(hwnd, m.hwnd))) return false;
    if (GetKeyState(VK_MENU) < 0) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    for (const auto& a : tmpl->accelerators)
      if (a.ctrl == ctrl && matches(a.key, m.wParam)) {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.command, 0), 0);
        return true;
      }
    return false;
  }

  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_COMMAND:
        owner->on_command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
      case WM_CLOSE:
        owner->on_cancel();
        return TRUE;
      case WM_DIALOG_SHOWN:
        // A warning is read out as it opens, as a message box is.
        if (!ended && !picture_only && !tmpl->alert.empty()) announce(hwnd, tmpl->alert);
        if (!ended) notify_dialog_shown(*owner);
        return TRUE;
      case WM_DESTROY:
        forget_accessible_texts(hwnd);
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
          forget_accessible_texts(child);
        detach();
        return FALSE;
      default:
        break;
    }
    if (!is_dialog_message(message)) return FALSE;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, owner->window_proc(message, wparam, lparam));
    return TRUE;
  }
};

namespace {

LRESULT CALLBACK accelerator_hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == MSGF_DIALOGBOX && !accelerated.empty() && accelerated.back()->accelerator(*reinterpret_cast<MSG*>(lparam)))
    return TRUE;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* impl = reinterpret_cast<Dialog::Impl*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    return impl->init(window);
  }
  auto* impl = reinterpret_cast<Dialog::Impl*>(GetWindowLongPtrW(window, DWLP_USER));
  return impl ? impl->handle(message, wparam, lparam) : FALSE;
}

}  // namespace

Dialog::Dialog(int template_id, Dialog* parent) : template_id_(template_id), parent_(parent), impl_(new Impl) {
  impl_->owner = this;
  impl_->tmpl = &resources::dialog_template(template_id);
  impl_->template_words = win32_dialog_template(*impl_->tmpl);
  for (const auto& c : impl_->tmpl->controls)
    if (c.id != resources::NO_ID) impl_->controls[c.id] = &c;
}

Dialog::~Dialog() {
  if (impl_->hwnd) DestroyWindow(impl_->hwnd);
}

int Dialog::do_modal() {
  Impl& d = *impl_;
  if (d.picture_only && d.hwnd) show_window(false);
  d.ended = false;
  d.result = 0;
  d.picture_only = false;
  register_page_view_class();
  HHOOK hook = nullptr;
  if (!d.tmpl->accelerators.empty()) {
    accelerated.push_back(&d);
    hook = SetWindowsHookExW(WH_MSGFILTER, accelerator_hook, nullptr, GetCurrentThreadId());
  }
  FocusReturn focus_return;
  const INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEW>(d.template_words.data()),
                                            visible_window(parent_), dialog_proc, reinterpret_cast<LPARAM>(&d));
  if (hook) {
    UnhookWindowsHookEx(hook);
    accelerated.pop_back();
  }
  if (r == -1) {
    // No window could be made (no display, out of resources): -1, as
    // Windows says it.
    report_win32_failure("DialogBoxIndirectParamW");
    return -1;
  }
  return d.result;
}

void Dialog::end_dialog(int result) {
  Impl& d = *impl_;
  d.result = result;
  d.ended = true;
  if (d.hwnd && !d.picture_only) EndDialog(d.hwnd, result);
}

bool Dialog::ended() const { return impl_->ended; }

void Dialog::post_message(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  std::lock_guard lock(impl_->post_mutex);
  if (impl_->hwnd)
    PostMessageW(impl_->hwnd, message, wparam, lparam);
  else if (!impl_->closed)
    impl_->pending.push_back({message, wparam, lparam});
}

std::string Dialog::item_text(int id) const {
  HWND w = impl_->item(id);
  if (!w) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  std::erase(text, L'\r');  // a multi-line edit's CR LF is the layer's LF
  return narrow(text);
}

std::string Dialog::item_text_limited(int id, int buffer) const {
  HWND w = impl_->item(id);
  if (!w || buffer <= 0) return {};
  std::wstring text(static_cast<std::size_t>(buffer), L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), buffer)));
  return narrow(text);
}

void Dialog::set_item_text(int id, const std::string& text) {
  HWND w = impl_->item(id);
  if (!w) return;
  set_item_text_unspoken(id, text);
  const resources::ControlTemplate& c = *impl_->controls.at(id);
  if (c.live) announce(w, text);
}

void Dialog::set_item_text_unspoken(int id, const std::string& text) {
  HWND w = impl_->item(id);
  if (!w) return;
  const resources::ControlTemplate& c = *impl_->controls.at(id);
  if (resources::is_label(c.kind) && !c.meaning.empty()) set_accessible_name(w, spoken_text(c, text));
  std::wstring wide = widen(text);
  if (c.multi_line) {
    // A multi-line edit's lines end with CR LF.
    std::wstring lines;
    for (wchar_t c : wide) lines += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    wide = std::move(lines);
  }
  SetWindowTextW(w, wide.c_str());
}

void Dialog::set_item_picture(int id, const resources::Pixels& pixels) {
  if (HWND w = impl_->item(id)) set_page_view_picture(w, pixels);
}

Dialog::PixelSize Dialog::item_pixel_size(int id) const {
  HWND w = impl_->item(id);
  RECT r{};
  if (!w || !GetClientRect(w, &r)) return {};
  return {r.right, r.bottom};
}

double Dialog::screen_dpi() const {
  HDC dc = GetDC(impl_->hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(impl_->hwnd, dc);
  return dpi > 0 ? dpi : 96.0;
}

void Dialog::limit_text(int id, int characters) {
  if (HWND w = impl_->item(id)) SendMessageW(w, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void Dialog::enable_item(int id, bool enabled) {
  if (HWND w = impl_->item(id)) EnableWindow(w, enabled ? TRUE : FALSE);
}

void Dialog::show_item(int id, bool shown) {
  if (HWND w = impl_->item(id)) ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
}

bool Dialog::item_enabled(int id) const {
  HWND w = impl_->item(id);
  return w && IsWindowEnabled(w);
}

bool Dialog::item_shown(int id) const {
  HWND w = impl_->item(id);
  return w && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0;
}

int Dialog::cur_sel(int id) const {
  HWND w = impl_->item(id);
  return w ? static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) : -1;
}

void Dialog::set_cur_sel(int id, int index) {
  // An index past the list clears the selection, as Windows documents it
  // (Wine keeps the old one).
  HWND w = impl_->item(id);
  if (!w) return;
  const int count = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1), 0);
}

void Dialog::set_list_items(int id, const std::vector<std::string>& items) {
  HWND w = impl_->item(id);
  if (!w) return;
  SendMessageW(w, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
}

void Dialog::focus_item(int id) {
  if (HWND w = impl_->item(id)) {
    SendMessageW(impl_->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
    if (impl_->initialising) impl_->focused_in_init = true;
  }
}

void Dialog::set_progress(int id, int permille) {
  if (HWND w = impl_->item(id)) SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(std::clamp(permille, 0, 1000)), 0);
}

int Dialog::progress(int id) const {
  HWND w = impl_->item(id);
  return w ? static_cast<int>(SendMessageW(w, PBM_GETPOS, 0, 0)) : 0;
}

void Dialog::press(int id) {
  // As a click: nothing when the button is disabled.
  if (HWND w = impl_->item(id); w && IsWindowEnabled(w))
    SendMessageW(impl_->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(w));
}

bool Dialog::visible() const { return impl_->hwnd && IsWindowVisible(impl_->hwnd); }

void Dialog::show_window(bool shown) {
  Impl& d = *impl_;
  if (shown && !d.hwnd) {
    d.picture_only = true;
    // Made hidden, so that it appears only once it is in its place.
    std::vector<unsigned short> words = d.template_words;
    words[7] &= ~static_cast<unsigned short>(WS_VISIBLE >> 16);  // the style's high word
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                               visible_window(parent_), dialog_proc, reinterpret_cast<LPARAM>(&d));
    if (!d.hwnd) report_win32_failure("CreateDialogIndirectParamW");
  }
  if (!d.hwnd) return;
  if (shown) {
    if (d.picture_only) centre_window(d.hwnd, visible_window(parent_));
    ShowWindow(d.hwnd, SW_SHOW);
  } else if (d.picture_only) {
    DestroyWindow(d.hwnd);
    d.picture_only = false;
  } else {
    ShowWindow(d.hwnd, SW_HIDE);
  }
}

bool Dialog::save_picture(const std::string& png_path) {
  if (!impl_->hwnd) return false;
  // Everything painted and on the screen before it is read back.
  RedrawWindow(impl_->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int k = 0; k < 20; ++k) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&m);
    Sleep(10);
  }
  const resources::Pixels pixels = capture_window(impl_->hwnd);
  return pixels.width > 0 && write_png(png_path, pixels);
}

void Dialog::set_icons(int big_icon_id, int small_icon_id) {
  impl_->icons[0] = big_icon_id;
  impl_->icons[1] = small_icon_id;
  impl_->apply_icons();
}

HWND dialog_hwnd(const Dialog& dialog) { return dialog.impl().hwnd; }

HWND visible_window(const Dialog* dialog) {
  for (; dialog; dialog = dialog->parent())
    if (HWND w = dialog->impl().hwnd; w && IsWindowVisible(w)) return w;
  return nullptr;
}

void report_win32_failure(const char* what) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (error %lu)", what, GetLastError());
  platform::debug_output(text);
}

}  // namespace tenji::ui
