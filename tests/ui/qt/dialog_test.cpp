// What the Qt backend adds: accessible names, label buddies, Qt file filters.
#include "ui/dialog.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "resources/dialog_template.h"
#include "ui/qt/dialog_qt.h"

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

}  // namespace
}  // namespace tenji::ui
