#include "ui/win32/windows_api.h"

#include <map>

#include "support/window_actions.h"
#include "ui/win32/dialog_win32.h"
#include "platform/wide_text.h"

namespace tenji::testing {

void type_keys(ui::Dialog& dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(ui::dialog_hwnd(dialog), id);
  SetFocus(control);
  // Characters as the keyboard sends them: the edit's limit and its digits
  // rule see each one.
  for (wchar_t c : platform::widen(text)) SendMessageW(control, WM_CHAR, static_cast<WPARAM>(c), 1);
}

void type_at_focus(ui::Dialog& dialog, const std::string& text) {
  HWND focus = GetFocus();
  if (!focus || !IsChild(ui::dialog_hwnd(dialog), focus)) return;
  for (wchar_t c : platform::widen(text)) SendMessageW(focus, WM_CHAR, static_cast<WPARAM>(c), 1);
}

namespace {

// A key through the dialog's loop, as the keyboard's arrives at `control`.
void post_key(HWND control, WPARAM key) {
  PostMessageW(control, WM_KEYDOWN, key, 0x00000001);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

void press_enter(ui::Dialog& dialog, int id) {
  HWND control = GetDlgItem(ui::dialog_hwnd(dialog), id);
  SetFocus(control);
  post_key(control, VK_RETURN);
}

void press_escape(ui::Dialog& dialog, const std::function<void()>& then) {
  HWND focus = GetFocus();
  post_key(focus ? focus : ui::dialog_hwnd(dialog), VK_ESCAPE);
  // The keys are handled before a timer fires.
  every(20, [then] {
    then();
    return false;
  });
}

void press_key(ui::Dialog& dialog, resources::Key key, bool ctrl, const std::function<void()>& then) {
  static const std::map<resources::Key, WPARAM> keys = {
      {resources::Key::page_up, VK_PRIOR}, {resources::Key::page_down, VK_NEXT}, {resources::Key::home, VK_HOME},
      {resources::Key::end, VK_END},       {resources::Key::plus, VK_ADD},       {resources::Key::minus, VK_SUBTRACT}};
  // Ctrl held, as the thread's keyboard state says while the key is handled.
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(state);
  HWND focus = GetFocus();
  post_key(focus ? focus : ui::dialog_hwnd(dialog), keys.at(key));
  every(20, [then] {
    BYTE now[256];
    GetKeyboardState(now);
    now[VK_CONTROL] = 0;
    SetKeyboardState(now);
    then();
    return false;
  });
}

void close_window(ui::Dialog& dialog) { SendMessageW(ui::dialog_hwnd(dialog), WM_SYSCOMMAND, SC_CLOSE, 0); }

std::vector<std::string> menu_items(ui::Dialog& dialog, int popup) {
  std::vector<std::string> texts;
  HMENU menu = GetSubMenu(GetMenu(ui::dialog_hwnd(dialog)), popup);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    texts.push_back(platform::narrow(text));
  }
  return texts;
}

void choose_menu_item(ui::Dialog& dialog, int popup, int index) {
  HMENU menu = GetSubMenu(GetMenu(ui::dialog_hwnd(dialog)), popup);
  SendMessageW(ui::dialog_hwnd(dialog), WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, index), 0), 0);
}

namespace {

std::map<UINT_PTR, std::function<bool()>>& timers() {
  static std::map<UINT_PTR, std::function<bool()>> all;
  return all;
}

void CALLBACK on_timer(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = timers().find(id);
  if (it == timers().end()) return;
  const std::function<bool()> work = it->second;
  if (!work()) {
    KillTimer(nullptr, id);
    timers().erase(id);
  }
}

}  // namespace

void every(int ms, const std::function<bool()>& work) {
  timers()[SetTimer(nullptr, 0, static_cast<UINT>(ms), on_timer)] = work;
}

void when_closed(ui::Dialog& dialog, const std::function<void()>& work) {
  // The dialog's window is gone once it no longer is one.
  HWND window = ui::dialog_hwnd(dialog);
  every(1, [window, work] {
    if (IsWindow(window)) return true;
    work();
    return false;
  });
}

}  // namespace tenji::testing
