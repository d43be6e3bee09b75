#include <QCoreApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <map>

#include "support/window_actions.h"
#include "ui/qt/dialog_qt.h"

namespace tenji::testing {

namespace {

// ASCII as key presses; anything else as an input method commits it, a
// character at a time.
void type_into(QWidget* widget, const std::string& text) {
  for (QChar c : QString::fromStdString(text)) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(c);
      QCoreApplication::sendEvent(widget, &commit);
    }
  }
}

}  // namespace

void type_keys(ui::Dialog& dialog, int id, const std::string& text) { type_into(ui::dialog_item(dialog, id), text); }

void type_at_focus(ui::Dialog& dialog, const std::string& text) {
  if (QWidget* focus = ui::dialog_window(dialog)->focusWidget()) type_into(focus, text);
}

void press_enter(ui::Dialog& dialog, int id) { QTest::keyClick(ui::dialog_item(dialog, id), Qt::Key_Return); }

void press_escape(ui::Dialog& dialog, const std::function<void()>& then) {
  QTest::keyClick(ui::dialog_window(dialog), Qt::Key_Escape);
  then();
}

void press_key(ui::Dialog& dialog, resources::Key key, bool ctrl, const std::function<void()>& then) {
  static const std::map<resources::Key, Qt::Key> keys = {
      {resources::Key::page_up, Qt::Key_PageUp}, {resources::Key::page_down, Qt::Key_PageDown},
      {resources::Key::home, Qt::Key_Home},      {resources::Key::end, Qt::Key_End},
      {resources::Key::plus, Qt::Key_Plus},      {resources::Key::minus, Qt::Key_Minus}};
  QWidget* window = ui::dialog_window(dialog);
  QWidget* focus = window->focusWidget();
  QTest::keyClick(focus ? focus : window, keys.at(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
  then();
}

void close_window(ui::Dialog& dialog) { ui::dialog_window(dialog)->close(); }

static QMenu* popup_of(ui::Dialog& dialog, int popup) {
  return ui::dialog_window(dialog)->findChild<QMenuBar*>()->actions().at(popup)->menu();
}

std::vector<std::string> menu_items(ui::Dialog& dialog, int popup) {
  std::vector<std::string> texts;
  for (QAction* a : popup_of(dialog, popup)->actions()) texts.push_back(a->text().toStdString());
  return texts;
}

void choose_menu_item(ui::Dialog& dialog, int popup, int index) { popup_of(dialog, popup)->actions().at(index)->trigger(); }

void every(int ms, const std::function<bool()>& work) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, work] {
    if (work()) return;
    timer->stop();
    timer->deleteLater();
  });
  timer->start(ms);
}

void when_closed(ui::Dialog& dialog, const std::function<void()>& work) {
  QObject::connect(ui::dialog_window(dialog), &QDialog::finished, work);
}

}  // namespace tenji::testing
