#include "ui/qt/accessibility_qt.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include "ui/spoken_text.h"

namespace tenji::ui {

namespace {

constexpr const char* ALERT_PROPERTY = "tenji_alert";

// Windows marked as alerts are presented like message boxes.
QAccessibleInterface* alert_factory(const QString&, QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  if (!w || !w->isWindow() || !w->property(ALERT_PROPERTY).toBool()) return nullptr;
  return new QAccessibleWidget(w, QAccessible::AlertMessage);
}

}  // namespace

QString spoken_text(const resources::ControlTemplate& control, const QString& text) {
  return QString::fromStdString(ui::spoken_text(control, text.toStdString()));
}

void mark_alert(QWidget* window, const QString& text) {
  static const bool installed = [] {
    QAccessible::installFactory(alert_factory);
    return true;
  }();
  (void)installed;
  window->setProperty(ALERT_PROPERTY, true);
  window->setAccessibleDescription(text);
}

void announce_alert(QWidget* window) {
  QAccessibleEvent event(window, QAccessible::Alert);
  QAccessible::updateAccessibility(&event);
}

}  // namespace tenji::ui
