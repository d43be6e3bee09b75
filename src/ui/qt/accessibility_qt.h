// What screen readers get beyond the widgets' own names: values read with
// their meaning, units as descriptions, and warnings read out as they open.
#pragma once

#include <QString>

#include "resources/dialog_template.h"

class QWidget;

namespace tenji::ui {

// "<meaning> <text> <unit>" for a value display; the text alone otherwise.
QString spoken_text(const resources::ControlTemplate& control, const QString& text);

// Gives `window` the role of an alert with `text` as its description (once
// per window), and tells the screen reader it opened.
void mark_alert(QWidget* window, const QString& text);
void announce_alert(QWidget* window);

}  // namespace tenji::ui
