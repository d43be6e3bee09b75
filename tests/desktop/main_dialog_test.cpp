#include "desktop/main_dialog.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "desktop/about_dialog.h"
#include "desktop/copies_dialog.h"
#include "desktop/dot_spacing_dialog.h"
#include "desktop/fit_warning_dialog.h"
#include "desktop/pitch_test_dialog.h"
#include "desktop/port_settings_dialog.h"
#include "desktop/printing_dialog.h"
#include "config/settings_file.h"
#include "document/braille_source.h"
#include "resources/resource_ids.h"
#include "support/dialog_runner.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "ui/qt/dialog_qt.h"

namespace tenji {
namespace {

using namespace resources;
using tenji::testing::run_dialog;

class MainWindow : public ::testing::Test {
 protected:
  // Every dialog a command opens is noted and closed.
  void command(MainDialog& main, int id, bool press = false) {
    platform::ScopedHook note(ui::dialog_shown_hook, [this](ui::Dialog& d) {
      shown.push_back(d.template_id());
      d.end_dialog(ui::IDCANCEL);
    });
    press ? main.press(id) : main.command(id, 0);
  }
  tenji::testing::TempDir dir;
  std::string path = dir.file("tenjiprint.ini");
  tenji::testing::FakeUiServices services;  // the print command's file dialog is cancelled
  std::vector<int> shown;
};

TEST_F(MainWindow, TheFirstCommandThatNeedsTheSettingsFileCreatesIt) {
  MainDialog main(path);
  command(main, ID_APP_ABOUT);
  EXPECT_EQ(shown, std::vector<int>{IDD_ABOUT});
  EXPECT_FALSE(std::filesystem::exists(path));
  command(main, IDC_MAIN_PORT_SETTINGS, true);
  EXPECT_EQ(shown.back(), IDD_PORT_SETTINGS);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(main.settings_path(), path);
  std::filesystem::remove(path);
  command(main, ID_PORT_SETTINGS);
  EXPECT_FALSE(std::filesystem::exists(path));  // tested once per run only
}

TEST_F(MainWindow, ButtonsAndMenuItemsOpenTheirDialogs) {
  MainDialog main(path);
  command(main, IDC_MAIN_PRINT, true);  // the file dialog comes first, and is cancelled
  EXPECT_EQ(services.filters, std::vector<std::string>{BRAILLE_FILE_FILTER});
  command(main, ID_PITCH_TEST);
  command(main, IDC_MAIN_DOT_SPACING, true);
  QList<QAction*> items = ui::dialog_window(main)->findChildren<QMenu*>().front()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[1]->text().toStdString(), "ピッチ指定１点字印刷(&I)");  // between the settings items
  platform::ScopedHook note(ui::dialog_shown_hook, [this](ui::Dialog& d) {
    shown.push_back(d.template_id());
    d.end_dialog(ui::IDCANCEL);
  });
  items[0]->trigger();
  EXPECT_EQ(shown, (std::vector<int>{IDD_PITCH_TEST, IDD_DOT_SPACING, IDD_DOT_SPACING}));
}

TEST_F(MainWindow, EscapeAndTheExitButtonEndTheProgram) {
  MainDialog main(path);
  EXPECT_EQ(run_dialog(main, [](ui::Dialog& d) { QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape); }), ui::IDCANCEL);
  MainDialog again(path);
  EXPECT_EQ(run_dialog(again, [](ui::Dialog& d) { d.press(IDC_MAIN_EXIT); }), 1);
}

// Every dialog class, worked through its buttons, reaches only controls its
// template has (run_dialog fails the test on any other).
TEST_F(MainWindow, EveryIdADialogReachesIsInItsTemplate) {
  write_default_settings(path);
  services.next_file = dir.file("set.brs");
  auto press_all = [](std::initializer_list<int> ids) {
    return [ids](ui::Dialog& d) {
      for (int id : ids) d.press(id);
      d.end_dialog(ui::IDCANCEL);
    };
  };
  DotSpacingDialog spacing(nullptr, path);
  run_dialog(spacing, press_all({IDC_SETTINGS_OK}));
  DotSpacingDialog spacing_files(nullptr, path);
  run_dialog(spacing_files, press_all({IDC_SAVE_SETTINGS, IDC_LOAD_SETTINGS, IDC_SETTINGS_CANCEL}));
  PortSettingsDialog port(nullptr, path);
  run_dialog(port, press_all({IDC_SETTINGS_OK}));
  FitWarningDialog fit(nullptr, 32, 22, 33, 40);
  run_dialog(fit, press_all({IDOK}));
  MainDialog main(path);
  CopiesDialog copies(&main);
  run_dialog(copies, press_all({IDOK}));
  PitchTestDialog pitch(&main);
  run_dialog(pitch, press_all({IDOK}));
  PrintingDialog printing(nullptr, path);
  printing.pitch_test_mode = 1;
  run_dialog(printing, press_all({IDCANCEL}), press_all({IDCANCEL}));
  AboutDialog about;
  run_dialog(about, press_all({IDOK}));
  run_dialog(main, press_all({}));
}

}  // namespace
}  // namespace tenji
