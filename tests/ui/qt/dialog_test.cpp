// What the Qt backend adds: accessible names, label buddies, Qt file filters
// and its file dialog.
#include "ui/dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "resources/dialog_template.h"
#include "support/temp_dir.h"
#include "ui/qt/dialog_qt.h"
#include "ui/ui_services.h"

namespace tenji::ui {
namespace {

TEST(Templates, BuildEveryControlWithItsTextAndAnAccessibleName) {
  for (int id : resources::dialog_template_ids()) {
    Dialog dialog(id, nullptr);
    const auto& t = resources::dialog_template(id);
    EXPECT_EQ(dialog_window(dialog)->windowTitle().toStdString(), t.caption);
    for (const auto& c : t.controls) {
      if (c.id == resources::NO_ID) continue;
      QWidget* w = dialog_item(dialog, c.id);
      ASSERT_NE(w, nullptr) << id << "/" << c.id;
      if (auto* b = qobject_cast<QPushButton*>(w)) {
        EXPECT_EQ(dialog.item_text(c.id), c.text);
        EXPECT_EQ(b->isDefault(), c.kind == resources::ControlKind::default_push_button) << id << "/" << c.id;
      }
    }
  }
  Dialog spacing(130, nullptr), copies(140, nullptr), port(132, nullptr);
  EXPECT_EQ(dialog_item(spacing, 1015)->accessibleName().toStdString(), "Ｙ座標終了点");
  EXPECT_EQ(dialog_item(copies, 1016)->accessibleName().toStdString(), "印刷部数を入力してください。");
  // The label is the field's buddy, so its mnemonic and screen readers lead there.
  bool found = false;
  for (QLabel* l : dialog_window(port)->findChildren<QLabel*>())
    if (l->text() == "接続するポート") found = l->buddy() == dialog_item(port, 1009);
  EXPECT_TRUE(found);
}

TEST(FileFilters, BecomeQtFilters) {
  EXPECT_EQ(qt_file_filter("点字ファイル (*.nrk *.brf)|*.nrk;*.brf|すべてのファイル (*.*)|*.*||"),
            "点字ファイル (*.nrk *.brf);;すべてのファイル (*)");
}

// The kinds the details of a folder show, read from the open dialog. (That
// the columns show them whole was looked at on X: offscreen Qt already sizes
// them to what they hold.)
TEST(FileDialog, NamesKindsInJapanese) {
  tenji::testing::TempDir dir;
  QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("点字"));
  for (const char* name : {"aiueo.NRK", "README", "book.transcription"}) tenji::testing::write_file(dir.file(name), "");
  std::vector<std::string> kinds;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    title = dialog->windowTitle();
    auto* model = dialog->findChild<QFileSystemModel*>();
    const QModelIndex folder = model ? model->index(QString::fromStdString(dir.path())) : QModelIndex();
    if (model && QTest::qWaitFor([&] { return model->rowCount(folder) == 4; }, 5000))
      for (const char* name : {"点字", "aiueo.NRK", "README", "book.transcription"})
        kinds.push_back(model->index(model->index(QString::fromStdString(dir.path() + "/" + name)).row(), 2, folder)
                            .data()
                            .toString()
                            .toStdString());
    dialog->reject();
  });
  // The dialog opens in the working folder, as a user's first one does.
  const QString was = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(dir.path()));
  EXPECT_EQ(window_system_services().open_file(nullptr, "*.*|*.*||"), std::nullopt);
  QDir::setCurrent(was);
  EXPECT_EQ(title.toStdString(), "開く");
  EXPECT_EQ(kinds, (std::vector<std::string>{"フォルダー", "NRK ファイル", "ファイル", "TRANSCRIPTION ファイル"}));
}

}  // namespace
}  // namespace tenji::ui
