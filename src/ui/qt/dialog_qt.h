// The Qt side of the dialog layer, for the layer's own code and for tests.
#pragma once

#include <QDialog>

#include <string>

#include "ui/dialog.h"
#include "ui/qt/dialog_font.h"

class QWidget;

namespace tenji::ui {

QDialog* dialog_window(const Dialog& dialog);
QWidget* dialog_item(const Dialog& dialog, int id);  // null for an unknown id
DialogUnits dialog_units(const Dialog& dialog);
// The window of `dialog`, or of its nearest ancestor, that is on screen.
QWidget* visible_window(const Dialog* dialog);
// Centres `window` over `over`; without it, on the screen when asked.
void place_window(QWidget* window, QWidget* over, bool centre_on_screen);
// The height of the menu bar above the template's client area (0 without).
int menu_bar_height(const Dialog& dialog);

// Qt's own texts in Japanese, and Japanese number and date formats; false
// when the translation is not installed. Needs the application object.
bool load_japanese_qt_texts();

// "*.NRK|*.nrk|*.*|*.*||" as a Qt filter: "*.NRK (*.nrk);;*.* (*)".
std::string qt_file_filter(const std::string& filter);

}  // namespace tenji::ui
