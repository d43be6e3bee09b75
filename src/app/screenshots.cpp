// Every window of the program drawn into PNG files, for looking at the
// dialogs without a desktop.
#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <functional>
#include <string>

#include "app/about_dialog.h"
#include "app/desktop.h"
#include "app/main_dialog.h"
#include "config/dot_spacing_dialog.h"
#include "config/port_settings_dialog.h"
#include "config/settings_file.h"
#include "print/printing_dialog.h"
#include "ui/dialog_qt.h"
#include "ui/ui_services.h"

namespace tenji {

namespace {

bool save(ui::Dialog& dialog, const QString& path) {
  QDialog* w = dialog_window(dialog);
  QApplication::processEvents();
  const bool ok = w->grab().save(path, "PNG");
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toStdString().c_str());
  return ok;
}

// Runs the dialog until it is shown, saves it and ends it.
bool shoot(ui::Dialog& dialog, const QString& path) {
  bool ok = false;
  ui::set_dialog_shown_hook([&](ui::Dialog& shown) {
    if (&shown != &dialog) return;
    ok = save(shown, path);
    shown.end_dialog(ui::IDCANCEL);
  });
  dialog.do_modal();
  ui::set_dialog_shown_hook({});
  return ok;
}

}  // namespace

int render_screenshots(int argc, char** argv, const char* directory) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QDir dir(QString::fromLocal8Bit(directory));
  if (!dir.mkpath(".")) return 1;
  const std::string settings = dir.filePath("screenshots.ini").toStdString();
  write_default_settings(settings);

  bool ok = true;
  MainDialog main;
  ok &= shoot(main, dir.filePath("main-102.png"));
  AboutDialog about;
  ok &= shoot(about, dir.filePath("about-100.png"));
  PortSettingsDialog port(&main, settings);
  ok &= shoot(port, dir.filePath("port-settings-132.png"));
  FitWarningDialog fit(&main, 32, 22, 33, 40);
  ok &= shoot(fit, dir.filePath("fit-warning-138.png"));
  CopiesDialog copies(&main);
  ok &= shoot(copies, dir.filePath("copies-140.png"));
  PitchTestDialog pitch(&main);
  ok &= shoot(pitch, dir.filePath("pitch-test-142.png"));

  // The printing window as it looks during a job.
  PrintingDialog printing(&main, settings);
  printing.set_progress(PrintingDialog::ID_PROGRESS, 420);
  printing.set_item_text(PrintingDialog::ID_STATUS, "2/3部  14/22行  残り約1分20秒");
  dialog_window(printing)->show();
  ok &= save(printing, dir.filePath("printing-139.png"));
  dialog_window(printing)->hide();

  DotSpacingDialog spacing(&main, settings);
  ok &= shoot(spacing, dir.filePath("dot-spacing-130.png"));
  return ok ? 0 : 1;
}

}  // namespace tenji
