// From the main window's print button to the virtual embosser through a
// real pseudo-terminal, cancelled while the page is being sent.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "desktop/main_dialog.h"
#include "document/nrk_writer.h"
#include "resources/resource_ids.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "support/virtual_embosser_process.h"
#include "support/window_actions.h"

namespace tenji {
namespace {

using namespace resources;

TEST(DesktopPrint, ACancelledJobKeepsItsWindowUntilTheLastByteIsOut) {
  testing::VirtualEmbosserProcess embosser(1, 1, "--baud 1200");
  ASSERT_TRUE(embosser.ready());
  testing::TempDir dir;
  testing::write_file(dir.file("page.NRK"), encode_nrk(std::vector<std::string>(10, std::string(32, '\xDF'))));
  testing::FakeUiServices services;
  services.next_file = dir.file("page.NRK");

  MainDialog main(dir.file("tenjiprint.ini"));  // made with the defaults: COM1 at 1200 bit/s
  double closed_at = 0;
  bool disabled = false, open_after_escape = false;
  testing::run_dialog(
      main,
      [](ui::Dialog& d) {
        d.press(IDC_MAIN_PRINT);
        d.end_dialog(ui::IDCANCEL);
      },
      [&](ui::Dialog& d) {
        if (d.template_id() != IDD_PRINTING) return d.press(IDOK);  // one copy
        testing::every(1500, [&] {
          d.press(IDCANCEL);
          disabled = !d.item_enabled(IDCANCEL);
          // While the job finishes its cell, Escape and the close box do not end the window.
          testing::press_escape(d, [&] {
            testing::close_window(d);
            open_after_escape = d.visible() && !d.ended();
          });
          return false;
        });
        testing::when_closed(d, [&] {
          closed_at = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        });
      });
  ASSERT_TRUE(embosser.wait_exit());
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(open_after_escape);
  EXPECT_TRUE(services.boxes.empty());
  const std::string json = embosser.file("job-1.json");
  const auto at = json.find("\"last_byte_at\": ");
  ASSERT_NE(at, std::string::npos);
  const double last_byte = std::atof(json.c_str() + at + 16);
  EXPECT_GT(closed_at - last_byte, -0.05);
  EXPECT_LT(closed_at - last_byte, 0.3);
}

}  // namespace
}  // namespace tenji
