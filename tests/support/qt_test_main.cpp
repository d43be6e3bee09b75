// Test main for the window tests: a QApplication on the offscreen platform.
#include <QApplication>

#include <cstdlib>

#include <gtest/gtest.h>

#include "ui/qt/dialog_qt.h"

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  tenji::ui::load_japanese_qt_texts();  // as the program does
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
