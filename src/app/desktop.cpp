#include "app/desktop.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>

#include "app/main_dialog.h"
#include "platform/alert.h"
#include "platform/debug_output.h"

namespace tenji {

namespace {

// Alerts from deep in the core (out of memory) become message boxes without
// an owner; the debugging output goes to Qt's message handler.
void install_desktop_platform() {
  platform::set_alert_handler([](std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    box.exec();
  });
  platform::set_debug_output([](std::string_view text) {
    qDebug().noquote() << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  });
}

}  // namespace

// The application object: runs the main window modally, then the program ends.
int run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  install_desktop_platform();
  MainDialog main;
  main.do_modal();
  return 0;
}

}  // namespace tenji
