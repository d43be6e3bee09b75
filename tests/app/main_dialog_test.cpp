#include "app/main_dialog.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "config/settings_file.h"
#include "support/fake_ui_services.h"
#include "ui/dialog_qt.h"

namespace tenji {
namespace {

using tenji::testing::FakeUiServices;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    path = settings_file_path();
    std::remove(path.c_str());
    // Every dialog that appears is noted and closed.
    ui::set_dialog_shown_hook([this](ui::Dialog& d) {
      shown.push_back(d.template_id());
      d.end_dialog(ui::IDCANCEL);
    });
  }
  void TearDown() override { std::remove(path.c_str()); }
  bool settings_exist() { return std::filesystem::exists(path); }

  FakeUiServices services;  // the print command's file dialog is cancelled
  std::string path;
  std::vector<int> shown;
};

TEST_F(MainWindow, TheVersionDialogDoesNotCreateTheSettingsFile) {
  MainDialog main;
  main.command(CMD_ABOUT, 0);
  EXPECT_EQ(shown, std::vector<int>{100});
  EXPECT_FALSE(settings_exist());
  EXPECT_TRUE(main.settings_path().empty());
}

TEST_F(MainWindow, ButtonsAndMenuOpenTheirDialogsAfterEnsuringTheFile) {
  MainDialog main;
  main.press(1001);  // 周辺機器設定
  EXPECT_EQ(shown, std::vector<int>{132});
  EXPECT_TRUE(settings_exist());
  EXPECT_EQ(main.settings_path(), path);

  std::remove(path.c_str());
  main.command(CMD_PORT_SETTINGS, 0);
  EXPECT_FALSE(settings_exist());  // tested once per run only

  main.press(1007);  // 印刷: the file dialog comes first, and is cancelled
  EXPECT_EQ(services.filters, std::vector<std::string>{"*.NRK|*.nrk|*.*|*.*||"});
  EXPECT_TRUE(services.boxes.empty());
  main.command(CMD_PITCH_TEST, 0);
  EXPECT_EQ(shown.back(), 142);
  main.press(1002);  // 点間隔等の設定
  EXPECT_EQ(shown.back(), 130);
}

TEST_F(MainWindow, EscapeAndTheExitButtonEndTheProgram) {
  MainDialog main;
  ui::set_dialog_shown_hook([](ui::Dialog& d) { QTest::keyClick(ui::dialog_window(d), Qt::Key_Escape); });
  EXPECT_EQ(main.do_modal(), ui::IDCANCEL);
  MainDialog again;
  ui::set_dialog_shown_hook([](ui::Dialog& d) { d.press(1000); });
  EXPECT_EQ(again.do_modal(), 1);
}

TEST_F(MainWindow, TheMenuHoldsThePitchTestBetweenTheSettingsItems) {
  MainDialog main;
  QList<QAction*> actions = ui::dialog_window(main)->findChildren<QMenu*>().front()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text().toStdString(), "点間隔等の設定(&T)");
  EXPECT_EQ(actions[1]->text().toStdString(), "ピッチ指定１点字印刷(&I)");
  EXPECT_EQ(actions[2]->text().toStdString(), "終了(&X)");
  actions[1]->trigger();
  EXPECT_EQ(shown, std::vector<int>{142});
}

}  // namespace
}  // namespace tenji
