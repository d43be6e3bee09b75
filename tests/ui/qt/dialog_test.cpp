#include "ui/dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "resources/dialog_template.h"
#include "support/fake_ui_services.h"
#include "ui/qt/dialog_qt.h"

namespace tenji::ui {
namespace {

using resources::ControlKind;

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
        EXPECT_EQ(b->isDefault(), c.kind == ControlKind::default_push_button) << id << "/" << c.id;
      }
      if (auto* box = qobject_cast<QComboBox*>(w)) {
        EXPECT_EQ(box->count(), static_cast<int>(c.items.size()));
        EXPECT_EQ(dialog.cur_sel(c.id), -1);
      }
      if (c.kind == ControlKind::edit || c.kind == ControlKind::drop_down_list) {
        EXPECT_FALSE(w->accessibleName().isEmpty()) << id << "/" << c.id;
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

TEST(DialogFont, IsAJapaneseGothic) {
  const QFont font = dialog_font("ＭＳ Ｐゴシック", 9);
  EXPECT_TRUE(QFontInfo(font).family().contains("IPA") || QFontInfo(font).family().contains("Noto"))
      << QFontInfo(font).family().toStdString();
}

// Records its messages and commands.
class Probe : public Dialog {
 public:
  explicit Probe(int id) : Dialog(id, nullptr) {}
  std::vector<unsigned> messages;
  int cancels = 0, oks = 0;
  bool refuse_cancel = false;

 protected:
  std::intptr_t window_proc(unsigned m, std::uintptr_t w, std::intptr_t) override {
    messages.push_back(m);
    if (m == WM_USER + 99) end_dialog(static_cast<int>(w));
    return 0;
  }
  void on_cancel() override {
    ++cancels;
    if (!refuse_cancel) Dialog::on_cancel();
  }
  void on_ok() override {
    ++oks;
    Dialog::on_ok();
  }
};

TEST(Messages, PostedFromAnotherThreadArriveInOrder) {
  testing::FakeUiServices services;
  Probe probe(139);
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

TEST(Messages, PostedDuringInitialisationEndTheDialogBeforeItIsShown) {
  class EndsEarly : public Probe {
   public:
    EndsEarly() : Probe(139) {}
    bool on_init_dialog() override {
      post_message(WM_USER + 99, 2, 0);
      return true;
    }
  } dialog;
  testing::FakeUiServices services;
  bool shown = false;
  platform::ScopedHook hook(dialog_shown_hook, [&](Dialog&) { shown = true; });
  EXPECT_EQ(dialog.do_modal(), 2);
  EXPECT_FALSE(shown);
}

TEST(Keys, EnterPressesTheDefaultButtonAndEscapeCancels) {
  testing::FakeUiServices services;
  Probe ok(142);
  {
    platform::ScopedHook enter(dialog_shown_hook, [](Dialog& d) { QTest::keyClick(dialog_item(d, 1017), Qt::Key_Return); });
    EXPECT_EQ(ok.do_modal(), IDOK);
    EXPECT_EQ(ok.oks, 1);
  }

  Probe refusing(139);
  refusing.refuse_cancel = true;
  platform::ScopedHook escape(dialog_shown_hook, [](Dialog& d) {
    QTest::keyClick(dialog_window(d), Qt::Key_Escape);
    dialog_window(d)->close();  // the close box
    d.post_message(WM_USER + 99, 5, 0);
  });
  EXPECT_EQ(refusing.do_modal(), 5);
  EXPECT_EQ(refusing.cancels, 2);
}

TEST(Edits, TheTextLimitBindsTypingOnlyAndReadingCutsAtSeven) {
  Dialog dialog(140, nullptr);
  dialog.limit_text(1016, 3);
  auto* edit = qobject_cast<QLineEdit*>(dialog_item(dialog, 1016));
  QTest::keyClicks(edit, "12a345");
  EXPECT_EQ(dialog.item_text(1016), "123");  // digits only, at most three
  dialog.set_item_text(1016, "123456789");
  EXPECT_EQ(dialog.item_text(1016), "123456789");
  EXPECT_EQ(dialog.item_text_limited(1016), "1234567");
}

TEST(Lists, SelectionOutsideTheListIsNone) {
  Dialog dialog(132, nullptr);
  dialog.set_cur_sel(1009, 15);
  EXPECT_EQ(dialog.cur_sel(1009), 15);
  dialog.set_cur_sel(1009, 16);
  EXPECT_EQ(dialog.cur_sel(1009), -1);
  dialog.set_cur_sel(1010, -3);
  EXPECT_EQ(dialog.cur_sel(1010), -1);
}

TEST(FileFilters, BecomeQtFilters) {
  EXPECT_EQ(qt_file_filter("*.NRK|*.nrk|*.*|*.*||"), "*.NRK (*.nrk);;*.* (*)");
  EXPECT_EQ(qt_file_filter("点字ファイル (*.nrk *.brf)|*.nrk;*.brf|すべてのファイル (*.*)|*.*||"),
            "点字ファイル (*.nrk *.brf);;すべてのファイル (*)");
  EXPECT_EQ(qt_file_filter("*.brs|*.brs|*.*|*.*||"), "*.brs (*.brs);;*.* (*)");
}

}  // namespace
}  // namespace tenji::ui
