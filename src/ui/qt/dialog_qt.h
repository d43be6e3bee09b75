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
// The height of the menu bar above the template's client area (0 without).
int menu_bar_height(const Dialog& dialog);

// "*.NRK|*.nrk|*.*|*.*||" as a Qt filter: "*.NRK (*.nrk);;*.* (*)".
std::string qt_file_filter(const std::string& filter);

}  // namespace tenji::ui
