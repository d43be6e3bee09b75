// What screen readers are given beyond a control's own text, alike on every
// window system.
#pragma once

#include <string>

#include "resources/dialog_template.h"

namespace tenji::ui {

// "<meaning> <text> <unit>" for a value display ("縦点間の実印刷設定値 2.22
// mm"); the text alone otherwise.
std::string spoken_text(const resources::ControlTemplate& control, const std::string& text);

// A field's unit as its description ("単位 mm"); empty without a unit.
std::string unit_description(const resources::ControlTemplate& control);

// What a picture or page view shows, in words; empty for other controls.
struct PictureWords {
  std::string name, description;
};
PictureWords picture_words(const resources::ControlTemplate& control);

}  // namespace tenji::ui
