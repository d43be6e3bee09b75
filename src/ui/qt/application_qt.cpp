#include <QApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include "platform/alert.h"
#include "platform/debug_output.h"
#include "ui/application.h"
#include "ui/qt/dialog_qt.h"

namespace tenji::ui {

bool load_japanese_qt_texts() {
  // The program speaks Japanese whatever the system's language: Qt's own
  // texts (file dialogs, standard buttons, the fields' menus) too.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  static QTranslator qt_texts;
  if (!qt_texts.load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    qWarning("Qt's Japanese texts (qtbase_ja.qm) are missing: install qt6-translations-l10n");
    return false;
  }
  QApplication::installTranslator(&qt_texts);
  return true;
}

int run_application(int argc, char** argv, const std::function<int()>& body, bool offscreen) {
  if (offscreen && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  load_japanese_qt_texts();
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
