#include "ui/dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "resources/dialog_template.h"
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

// Records its messages; WM_USER + 99 ends it with its wparam.
class Probe : public Dialog {
 public:
  Probe() : Dialog(139, nullptr) {}
  std::vector<unsigned> messages;

 protected:
  std::intptr_t window_proc(unsigned m, std::uintptr_t w, std::intptr_t) override {
    messages.push_back(m);
    if (m == WM_USER + 99) end_dialog(static_cast<int>(w));
    return 0;
  }
};

TEST(Messages, PostedFromAnotherThreadArriveInOrder) {
  Probe probe;
  std::thread sender;
  platform::ScopedHook shown(dialog_shown_hook, [&](Dialog&) {
    sender = std::thread([&] {
      for (unsigned i = 0; i < 200; ++i) probe.post_message(WM_USER + i % 50, 0, 0);
      probe.post_message(WM_USER + 99, 7, 0);
    });
  });
  EXPECT_EQ(probe.do_modal(), 7);
  sender.join();
  ASSERT_EQ(probe.messages.size(), 201u);
  for (unsigned i = 0; i < 200; ++i) ASSERT_EQ(probe.messages[i], WM_USER + i % 50);
}

TEST(Keys, EnterPressesTheDefaultButton) {
  Dialog pitch(142, nullptr);
  platform::ScopedHook enter(dialog_shown_hook, [](Dialog& d) { QTest::keyClick(dialog_item(d, 1017), Qt::Key_Return); });
  EXPECT_EQ(pitch.do_modal(), IDOK);
}

TEST(Edits, TheProgramsTextPassesTheTypingLimitAndReadingCutsAtSeven) {
  Dialog dialog(140, nullptr);
  dialog.limit_text(1016, 3);
  dialog.set_item_text(1016, "123456789");
  EXPECT_EQ(dialog.item_text(1016), "123456789");
  EXPECT_EQ(dialog.item_text_limited(1016), "1234567");
}

TEST(FileFilters, BecomeQtFilters) {
  EXPECT_EQ(qt_file_filter("点字ファイル (*.nrk *.brf)|*.nrk;*.brf|すべてのファイル (*.*)|*.*||"),
            "点字ファイル (*.nrk *.brf);;すべてのファイル (*)");
}

}  // namespace
}  // namespace tenji::ui
