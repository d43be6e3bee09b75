#include <QApplication>
#include <QDebug>
#include <QMessageBox>

#include "platform/alert.h"
#include "platform/debug_output.h"
#include "ui/application.h"

namespace tenji::ui {

int run_application(int argc, char** argv, const std::function<int()>& body, bool offscreen) {
  if (offscreen && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Alerts from deep in the core (out of memory) become message boxes without
  // an owner; the debugging output goes to Qt's message handler.
  platform::ScopedHook alerts(platform::alert_hook, [](std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    box.exec();
  });
  platform::ScopedHook debug(platform::debug_output_hook, [](std::string_view text) {
    qDebug().noquote() << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  });
  return body();
}

}  // namespace tenji::ui
