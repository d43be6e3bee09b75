#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <map>

#include "support/window_actions.h"
#include "ui/qt/dialog_qt.h"

namespace tenji::testing {

void type_keys(ui::Dialog& dialog, int id, const std::string& text) {
  QTest::keyClicks(ui::dialog_item(dialog, id), QString::fromStdString(text));
}

void type_at_focus(ui::Dialog& dialog, const std::string& text) {
  QWidget* focus = ui::dialog_window(dialog)->focusWidget();
  if (focus) QTest::keyClicks(focus, QString::fromStdString(text));
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
