// Message boxes and file dialogs of Windows.
#include "ui/ui_services.h"

#include "ui/win32/windows_api.h"

#include <vector>

#include "platform/executable_path.h"
#include "ui/file_filter.h"
#include "ui/win32/dialog_win32.h"
#include "ui/win32/focus_return_win32.h"
#include "platform/wide_text.h"

namespace tenji::ui {

using platform::narrow;
using platform::widen;

namespace {

// "label|pattern|...||" as Windows wants it: fields ended by NUL, the list by
// a second NUL.
std::wstring windows_filter(const std::string& filter) {
  std::wstring out;
  for (const std::string& field : filter_fields(filter)) {
    if (field.empty()) break;
    out += widen(field);
    out += L'\0';
  }
  out += L'\0';
  return out;
}

std::optional<std::string> file_dialog(Dialog* owner, const std::string& filter, bool save) {
  const std::wstring patterns = windows_filter(filter);
  const std::wstring extension = widen(default_extension(filter));
  std::vector<wchar_t> path(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = visible_window(owner);
  ofn.lpstrFilter = patterns.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  // A name typed without an extension gets the filter's, and an existing
  // file is only replaced when the user says so.
  if (!extension.empty()) ofn.lpstrDefExt = extension.c_str();
  ofn.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  FocusReturn focus_return;
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  return narrow(path.data());
}

class DesktopServices final : public UiServices {
 public:
  int message_box(Dialog* owner, const std::string& text, const std::string& caption, platform::MessageIcon icon,
                  MessageButtons buttons) override {
    UINT style = buttons == MessageButtons::ok_cancel ? MB_OKCANCEL : MB_OK;
    switch (icon) {
      case platform::MessageIcon::error: style |= MB_ICONERROR; break;
      case platform::MessageIcon::warning: style |= MB_ICONWARNING; break;
      case platform::MessageIcon::information: style |= MB_ICONINFORMATION; break;
      case platform::MessageIcon::none: break;
    }
    HWND owner_window = visible_window(owner);
    if (!owner_window) style |= MB_TASKMODAL;
    const std::wstring title = widen(caption.empty() ? platform::application_title() : caption);
    FocusReturn focus_return(true);
    return MessageBoxW(owner_window, widen(text).c_str(), title.c_str(), style) == IDOK ? IDOK : IDCANCEL;
  }

  std::optional<std::string> open_file(Dialog* owner, const std::string& filter) override {
    return file_dialog(owner, filter, false);
  }

  std::optional<std::string> save_file(Dialog* owner, const std::string& filter) override {
    return file_dialog(owner, filter, true);
  }
};

}  // namespace

UiServices& window_system_services() {
  static DesktopServices desktop;
  return desktop;
}

}  // namespace tenji::ui
