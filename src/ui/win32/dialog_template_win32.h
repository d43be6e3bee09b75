// A dialog template as Windows reads it: an extended dialog template in
// memory, built from the program's template data.
#pragma once

#include <vector>

#include "resources/dialog_template.h"

namespace tenji::ui {

// The words of the DLGTEMPLATEEX and its items, ready for
// DialogBoxIndirectParamW. The menu is attached when the window is made.
std::vector<unsigned short> win32_dialog_template(const resources::DialogTemplate& t);

}  // namespace tenji::ui
