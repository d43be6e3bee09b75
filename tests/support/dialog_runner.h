// Runs a dialog as a user meets it: modally, with `work` done on it once its
// window is shown. Dialogs it opens meanwhile go to `others`, or are
// cancelled. Any reach for a control the dialog's template lacks fails the
// test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/debug_output.h"
#include "ui/dialog.h"
#include "ui/ui_services.h"

namespace tenji::testing {

using DialogWork = std::function<void(ui::Dialog&)>;

inline int run_dialog(ui::Dialog& dialog, const DialogWork& work, const DialogWork& others = {}) {
  platform::ScopedHook shown(ui::dialog_shown_hook, [&](ui::Dialog& d) {
    if (&d == &dialog) {
      if (work) work(d);
    } else if (others) {
      others(d);
    } else {
      d.end_dialog(ui::IDCANCEL);
    }
  });
  platform::ScopedHook missing(platform::debug_output_hook, [](std::string_view text) {
    if (text.find("has no control") != std::string_view::npos) ADD_FAILURE() << text;
  });
  return dialog.do_modal();
}

}  // namespace tenji::testing
