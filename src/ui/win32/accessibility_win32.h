// What a Windows screen reader is given beyond the controls' own texts:
// names and descriptions through Dynamic Annotation (IAccPropServices,
// read by NVDA, JAWS, Narrator and PC-Talker alike), and announcements as
// UI Automation notifications where Windows has them (10, version 1709 and
// later), else as Active Accessibility's alert and name-change events.
#pragma once

#include <functional>
#include <string>

#include "platform/hook.h"
#include "resources/dialog_template.h"
#include "ui/win32/windows_api.h"

namespace tenji::ui {

struct AccessibleNote {
  enum class Kind { name, description, announcement };
  Kind kind;
  HWND window;
  std::string text;
  bool operator==(const AccessibleNote&) const = default;
};

// Where the notes go instead of the platform: the tests watch here, as
// Wine's accessibility libraries take them without passing them on.
using AccessibleNoteSink = std::function<void(const AccessibleNote&)>;
extern platform::Hook<AccessibleNoteSink> accessible_note_hook;

// What a screen reader reads of a dialog's control beyond its own text (a
// field is named by the label before it already): a value with its meaning
// and unit, a unit, a picture in words.
void describe_for_screen_readers(HWND control, const resources::ControlTemplate& c);

void set_accessible_name(HWND window, const std::string& name);
void set_accessible_description(HWND window, const std::string& description);
// Read out at once, as a message box is: a window's warning as it opens, a
// status line's new text.
void announce(HWND window, const std::string& text);
// Before `window` goes: the annotation service keeps names and descriptions
// until they are cleared.
void forget_accessible_texts(HWND window);

}  // namespace tenji::ui
