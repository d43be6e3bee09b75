#include "ui/spoken_text.h"

namespace tenji::ui {

std::string spoken_text(const resources::ControlTemplate& control, const std::string& text) {
  if (control.meaning.empty()) return text;
  std::string s = control.meaning + ' ' + text;
  if (!control.unit.empty()) s += ' ' + control.unit;
  return s;
}

std::string unit_description(const resources::ControlTemplate& control) {
  return control.unit.empty() ? std::string() : "単位 " + control.unit;
}

PictureWords picture_words(const resources::ControlTemplate& control) {
  switch (control.kind) {
    case resources::ControlKind::picture: return {"点間隔の図", "横点間、マス間、縦点間、行間を示す図"};
    case resources::ControlKind::page_view: return {"印刷する面の図", ""};
    default: return {};
  }
}

}  // namespace tenji::ui
