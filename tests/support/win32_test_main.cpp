// Test main for the window tests on Windows: the program's application set-up
// around the suite.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return tenji::ui::run_application(argc, argv, [] { return RUN_ALL_TESTS(); });
}
