// From the main window's print button to the virtual embosser through a
// real pseudo-terminal: cancelled while the page is being sent, and the
// cable pulled out mid-job.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#include "desktop/main_dialog.h"
#include "document/nrk_writer.h"
#include "resources/resource_ids.h"
#include "support/expected_streams.h"
#include "support/fake_ui_services.h"
#include "support/pty_pair.h"
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

TEST(DesktopPrint, AnAdapterPulledOutEndsTheJobAndOnceBackTheNextPrintWorks) {
  testing::TempDir dir;
  testing::write_file(dir.file("page.NRK"), encode_nrk(std::vector<std::string>(10, std::string(32, '\xDF'))));
  testing::write_file(dir.file("short.NRK"), encode_nrk({"\xA1", "\xA9"}));
  testing::FakeUiServices services;
  services.next_file = dir.file("page.NRK");
  std::optional<testing::PtyPair> cable(std::in_place, 1);
  std::optional<testing::VirtualEmbosserProcess> embosser;
  using Clock = std::chrono::steady_clock;
  Clock::time_point pulled, closed;
  bool embosser_ready = false;

  MainDialog main(dir.file("tenjiprint.ini"));
  testing::run_dialog(
      main,
      [&](ui::Dialog& d) {
        d.press(IDC_MAIN_PRINT);
        cable.reset();  // the same COM1, on an embosser plugged in again
        embosser.emplace(1, 1);
        embosser_ready = embosser->ready();
        services.next_file = dir.file("short.NRK");
        d.press(IDC_MAIN_PRINT);
        d.end_dialog(ui::IDCANCEL);
      },
      [&](ui::Dialog& d) {
        if (d.template_id() != IDD_PRINTING) return d.press(IDOK);  // one copy
        if (!cable) return;
        testing::every(1500, [&] {
          cable->close_master();
          pulled = Clock::now();
          return false;
        });
        testing::when_closed(d, [&] { closed = Clock::now(); });
      });
  ASSERT_EQ(services.boxes.size(), 1u) << services.boxes.back().text;
  const std::string& said = services.boxes[0].text;
  EXPECT_EQ(said.rfind("点字プリンターの接続を確認してください。\nポート COM1（", 0), 0u) << said;
  EXPECT_NE(said.find(" が外れました（ケーブルと点字プリンターの電源を確認してください）。\n1/1部 "), std::string::npos) << said;
  EXPECT_EQ(services.boxes[0].icon, platform::MessageIcon::error);
  EXPECT_LT(closed - pulled, std::chrono::seconds(1));
  ASSERT_TRUE(embosser_ready);
  ASSERT_TRUE(embosser->wait_exit());
  EXPECT_EQ(embosser->file("job-1.bin"), testing::two_line_job_stream());
}

}  // namespace
}  // namespace tenji
