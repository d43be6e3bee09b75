#include "desktop/main_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "config/settings_file.h"
#include "desktop/about_dialog.h"
#include "desktop/copies_dialog.h"
#include "desktop/dot_spacing_dialog.h"
#include "desktop/fit_warning_dialog.h"
#include "desktop/page_range_dialog.h"
#include "desktop/pitch_test_dialog.h"
#include "desktop/port_settings_dialog.h"
#include "desktop/printing_dialog.h"
#include "document/braille_source.h"
#include "resources/resource_ids.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "support/window_actions.h"

namespace tenji {
namespace {

using namespace resources;

class MainWindow : public ::testing::Test {
 protected:
  tenji::testing::TempDir dir;
  std::string path = dir.file("tenjiprint.ini");
  tenji::testing::FakeUiServices services;  // the print command's file dialog is cancelled
  std::vector<int> shown;
  std::string about;
  // Every dialog a command opens is noted and closed.
  void note_and_close(ui::Dialog& d) {
    shown.push_back(d.template_id());
    if (d.template_id() == IDD_ABOUT) about = d.item_text(IDC_ABOUT_VERSION) + " / " + d.item_text(IDC_ABOUT_SETTINGS);
    d.end_dialog(ui::IDCANCEL);
  }
};

TEST_F(MainWindow, ButtonsAndMenuItemsOpenTheirDialogsAndTheFirstThatNeedsTheSettingsFileCreatesIt) {
  MainDialog main(path);
  std::vector<std::string> settings_menu;
  bool exists_after_about = true, exists_after_print = false, exists_after_port = true;
  std::size_t boxes_after_print = 1;
  tenji::testing::run_dialog(main, [&](ui::Dialog& d) {
    d.command(ID_APP_ABOUT);
    exists_after_about = std::filesystem::exists(path);
    d.press(IDC_MAIN_PRINT);  // the file dialog comes first, and is cancelled
    exists_after_print = std::filesystem::exists(path);
    boxes_after_print = services.boxes.size();
    std::filesystem::remove(path);
    d.press(IDC_MAIN_PORT_SETTINGS);
    exists_after_port = std::filesystem::exists(path);
    d.command(ID_PITCH_TEST);
    d.press(IDC_MAIN_DOT_SPACING);
    settings_menu = tenji::testing::menu_items(d, 0);
    tenji::testing::choose_menu_item(d, 0, 0);
    d.press(IDC_MAIN_EXIT);
  }, [&](ui::Dialog& d) { note_and_close(d); });
  // The build's version (the one --version gives), and the settings file: named, not yet made.
  EXPECT_EQ(about, "Version " TENJI_VERSION " / 設定ファイル: " + path);
  EXPECT_FALSE(exists_after_about);
  EXPECT_TRUE(exists_after_print);
  EXPECT_EQ(services.filters, std::vector<std::string>{BRAILLE_FILE_FILTER});
  EXPECT_EQ(boxes_after_print, 0u);  // the printing window read the settings file made for it
  EXPECT_FALSE(exists_after_port);      // tested once per run only
  ASSERT_EQ(settings_menu.size(), 3u);
  EXPECT_EQ(settings_menu[1], "ピッチ指定１点字印刷(&I)");  // between the settings items
  EXPECT_EQ(shown, (std::vector<int>{IDD_ABOUT, IDD_PORT_SETTINGS, IDD_PITCH_TEST, IDD_DOT_SPACING, IDD_DOT_SPACING}));
  EXPECT_TRUE(main.ended());
}

// Every dialog class, every button pressed: a reach for a control that its
// template lacks fails run_dialog.
TEST(EveryDialog, ReachesOnlyControlsOfItsTemplate) {
  tenji::testing::TempDir dir;
  const std::string path = dir.file("tenjiprint.ini");
  write_default_settings(path);
  tenji::testing::FakeUiServices services;
  services.next_file = dir.file("set.brs");
  using tenji::testing::run_dialog;
  auto press_all = [](std::initializer_list<int> ids) {
    return [ids](ui::Dialog& d) {
      for (int id : ids) d.press(id);
      if (!d.ended()) d.end_dialog(ui::IDCANCEL);
    };
  };
  auto run = [&](ui::Dialog&& d, std::initializer_list<int> ids) { run_dialog(d, press_all(ids)); };
  MainDialog main(path);
  run(DotSpacingDialog(&main, path), {IDC_SAVE_SETTINGS, IDC_LOAD_SETTINGS, IDC_SETTINGS_OK});
  run(PortSettingsDialog(&main, path), {IDC_SETTINGS_OK});
  run(FitWarningDialog(&main, 32, 22, 33, 40, true), {IDC_FIT_ALL_PAGES});
  run(CopiesDialog(&main), {IDOK});
  run(PitchTestDialog(&main), {IDOK});
  run(PageRangeDialog(&main, std::vector<PageSpan>(2)), {IDOK});
  PrintingDialog printing(&main, path);
  printing.pitch_test_mode = 1;
  run_dialog(printing, press_all({IDCANCEL}), press_all({IDCANCEL}));
  run(AboutDialog(&main, path), {IDOK});
  run_dialog(main, press_all({}));
}

// A user who starts typing the moment a dialog opens replaces the text of
// the field that has the focus ("20", not "020").
TEST(EveryDialog, TypingAtOnceReplacesTheFocusedFieldsText) {
  MainDialog main;
  const struct {
    std::function<std::unique_ptr<ui::Dialog>()> make;
    int field;
    const char* typed;
  } cases[] = {
      {[&] { return std::make_unique<PitchTestDialog>(&main); }, IDC_PITCH_X, "20"},
      {[&] { return std::make_unique<CopiesDialog>(&main); }, IDC_COPIES, "3"},
      {[&] { return std::make_unique<PageRangeDialog>(&main, std::vector<PageSpan>(4)); }, IDC_RANGE_FROM, "2"},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<ui::Dialog> dialog = c.make();
    std::string text;
    tenji::testing::run_dialog(*dialog, [&](ui::Dialog& d) {
      tenji::testing::type_at_focus(d, c.typed);
      text = d.item_text(c.field);
      d.end_dialog(ui::IDCANCEL);
    });
    EXPECT_EQ(text, c.typed) << "dialog " << dialog->template_id();
  }
}

}  // namespace
}  // namespace tenji
