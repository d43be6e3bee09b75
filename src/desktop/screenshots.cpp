// Every window of the program drawn into PNG files, for looking at the
// dialogs without a desktop.
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/settings_file.h"
#include "desktop/about_dialog.h"
#include "desktop/copies_dialog.h"
#include "desktop/desktop.h"
#include "desktop/dot_spacing_dialog.h"
#include "desktop/fit_warning_dialog.h"
#include "desktop/main_dialog.h"
#include "desktop/page_range_dialog.h"
#include "desktop/pitch_test_dialog.h"
#include "desktop/port_devices_dialog.h"
#include "desktop/port_settings_dialog.h"
#include "desktop/preview_dialog.h"
#include "desktop/printing_dialog.h"
#include "platform/file_path.h"
#include "resources/resource_ids.h"
#include "ui/application.h"
#include "ui/ui_services.h"

namespace tenji {

namespace {

bool save(ui::Dialog& dialog, const std::string& path) {
  const bool ok = dialog.save_picture(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  return ok;
}

// Runs the dialog until it is shown, saves it and ends it.
bool shoot(ui::Dialog& dialog, const std::string& path) {
  bool ok = false;
  platform::ScopedHook shown_hook(ui::dialog_shown_hook, [&](ui::Dialog& shown) {
    if (&shown != &dialog) return;
    ok = save(shown, path);
    shown.end_dialog(ui::IDCANCEL);
  });
  dialog.do_modal();
  return ok;
}

int shoot_all(const std::filesystem::path& dir) {
  const std::string settings = platform::utf8_path(dir / "screenshots.ini");
  write_default_settings(settings);
  auto file = [&](const char* name) { return platform::utf8_path(dir / name); };

  bool ok = true;
  MainDialog main;
  ok &= shoot(main, file("main-102.png"));
  AboutDialog about(&main, settings);
  ok &= shoot(about, file("about-100.png"));
  PortSettingsDialog port(&main, settings);
  ok &= shoot(port, file("port-settings-132.png"));
  // The device list as a machine with an adapter and a built-in port shows it.
  PortDevicesDialog devices(&port, 3,
                            {{1, "/dev/ttyS0", "", "内蔵シリアルポート", "", false},
                             {0, "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                              "FTDI FT232R USB UART", "A50285BI", true}});
  ok &= shoot(devices, file("port-devices-151.png"));
  FitWarningDialog fit(&main, 32, 22, 33, 40, true);
  ok &= shoot(fit, file("fit-warning-138.png"));
  CopiesDialog copies(&main);
  ok &= shoot(copies, file("copies-140.png"));
  PitchTestDialog pitch(&main);
  ok &= shoot(pitch, file("pitch-test-142.png"));
  PageRangeDialog range(&main, std::vector<PageSpan>(3));
  ok &= shoot(range, file("page-range-143.png"));

  // The printing window as it looks during a job.
  PrintingDialog printing(&main, settings);
  printing.show_window(true);
  printing.set_progress(resources::IDC_PRINTING_PROGRESS, 420);
  printing.set_item_text(resources::IDC_PRINTING_STATUS, "2/3部  14/22行  残り約1分20秒");
  ok &= save(printing, file("printing-139.png"));
  printing.show_window(false);

  DotSpacingDialog spacing(&main, settings);
  ok &= shoot(spacing, file("dot-spacing-130.png"));

  // The preview of a page of every pattern, on its second sheet.
  BrailleDocument book;
  for (int line = 0; line < 30; ++line) {
    std::string cells;
    for (int cell = 0; cell < 32; ++cell) cells += static_cast<char>(0xA0 + (line * 32 + cell) % 64);
    book.append_cells(cells);
  }
  PrintSettings layout;
  load_all_keys(settings, layout);
  PreviewDialog preview(&main, layout, book, paginate(book, layout.LPP));
  platform::ScopedHook turned(ui::dialog_shown_hook, [&](ui::Dialog& shown) {
    if (&shown != &preview) return;
    shown.command(resources::IDC_PREVIEW_NEXT);
    ok &= save(shown, file("preview-150.png"));
    shown.end_dialog(ui::IDCANCEL);
  });
  preview.do_modal();
  return ok ? 0 : 1;
}

}  // namespace

int render_screenshots(int argc, char** argv, const char* directory) {
  const std::filesystem::path dir = platform::fs_path(directory);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir)) return 1;
  return ui::run_application(argc, argv, [&] { return shoot_all(dir); }, true);
}

}  // namespace tenji
