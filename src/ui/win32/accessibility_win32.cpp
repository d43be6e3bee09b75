#include "ui/win32/accessibility_win32.h"

#include <oleacc.h>
#include <uiautomationcore.h>

#include "platform/wide_text.h"
#include "ui/spoken_text.h"

namespace tenji::ui {

platform::Hook<AccessibleNoteSink> accessible_note_hook;

namespace {

// oleacc.h's property ids, here so that no import library has to define them.
constexpr GUID NAME_PROPERTY = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID DESCRIPTION_PROPERTY = {0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr GUID ACC_PROP_SERVICES_CLASS = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID ACC_PROP_SERVICES_INTERFACE = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

// The annotation service of this thread, made at first use (null where COM
// or the service is missing: the controls keep their own names).
IAccPropServices* annotations() {
  thread_local IAccPropServices* service = [] {
    IAccPropServices* s = nullptr;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) return s;
    if (FAILED(CoCreateInstance(ACC_PROP_SERVICES_CLASS, nullptr, CLSCTX_INPROC_SERVER, ACC_PROP_SERVICES_INTERFACE,
                                reinterpret_cast<void**>(&s))))
      s = nullptr;
    return s;
  }();
  return service;
}

void annotate(HWND window, const GUID& property, const std::string& text) {
  if (IAccPropServices* s = annotations())
    s->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, platform::widen(text).c_str());
}

// UI Automation's notification, looked up at run time: Windows before 10
// (version 1709) does not have it.
enum { NOTIFICATION_KIND_OTHER = 4, NOTIFICATION_PROCESSING_IMPORTANT_MOST_RECENT = 1 };
using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);

bool notify_through_automation(HWND window, const std::string& text) {
  static HMODULE library = LoadLibraryW(L"uiautomationcore.dll");
  if (!library) return false;
  static const auto host = reinterpret_cast<HostProvider>(
      reinterpret_cast<void*>(GetProcAddress(library, "UiaHostProviderFromHwnd")));
  static const auto raise = reinterpret_cast<RaiseNotification>(
      reinterpret_cast<void*>(GetProcAddress(library, "UiaRaiseNotificationEvent")));
  if (!host || !raise) return false;
  IRawElementProviderSimple* provider = nullptr;
  if (FAILED(host(window, &provider)) || !provider) return false;
  BSTR said = SysAllocString(platform::widen(text).c_str());
  BSTR activity = SysAllocString(L"tenjiprint");
  const HRESULT raised =
      raise(provider, NOTIFICATION_KIND_OTHER, NOTIFICATION_PROCESSING_IMPORTANT_MOST_RECENT, said, activity);
  SysFreeString(activity);
  SysFreeString(said);
  provider->Release();
  return SUCCEEDED(raised);
}

bool watched(AccessibleNote::Kind kind, HWND window, const std::string& text) {
  const AccessibleNoteSink sink = accessible_note_hook.get();
  if (sink) sink({kind, window, text});
  return static_cast<bool>(sink);
}

}  // namespace

void set_accessible_name(HWND window, const std::string& name) {
  if (!watched(AccessibleNote::Kind::name, window, name)) annotate(window, NAME_PROPERTY, name);
}

void set_accessible_description(HWND window, const std::string& description) {
  if (!watched(AccessibleNote::Kind::description, window, description))
    annotate(window, DESCRIPTION_PROPERTY, description);
}

void forget_accessible_texts(HWND window) {
  if (accessible_note_hook.engaged()) return;
  static const GUID properties[] = {NAME_PROPERTY, DESCRIPTION_PROPERTY};
  if (IAccPropServices* s = annotations())
    s->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties, 2);
}

void describe_for_screen_readers(HWND control, const resources::ControlTemplate& c) {
  if (!c.meaning.empty()) set_accessible_name(control, resources::is_label(c.kind) ? spoken_text(c, c.text) : c.meaning);
  if (c.kind == resources::ControlKind::edit && !c.unit.empty()) set_accessible_description(control, unit_description(c));
  const PictureWords words = picture_words(c);
  if (!words.name.empty()) set_accessible_name(control, words.name);
  if (!words.description.empty()) set_accessible_description(control, words.description);
}

void announce(HWND window, const std::string& text) {
  if (watched(AccessibleNote::Kind::announcement, window, text) || notify_through_automation(window, text)) return;
  // Before UI Automation's notifications: a window that opens with a
  // warning is an alert, a control's new text a change of its name.
  const bool top_level = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0;
  NotifyWinEvent(top_level ? EVENT_SYSTEM_ALERT : EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tenji::ui
