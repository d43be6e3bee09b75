// From the main window to the virtual embosser: command 32778, a sample
// document, two copies, through a real pseudo-terminal.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include <QDialog>
#include <QTimer>

#include <chrono>
#include <cstdlib>

#include "desktop/main_dialog.h"
#include "desktop/printing_dialog.h"
#include "document/nrk_writer.h"
#include "ui/qt/dialog_qt.h"
#include "config/settings_file.h"
#include "document/braille_file_reader.h"
#include "stream_decoder.h"
#include "support/fake_ui_services.h"
#include "support/virtual_embosser_process.h"
#include "support/temp_dir.h"
#include "resources/resource_ids.h"
#include "support/dialog_runner.h"

namespace tenji {
namespace {

using Dots = std::set<std::tuple<long long, long long>>;

// Where the sample's dots belong at the default geometry.
Dots expected_dots(const BrailleDocument& doc) {
  Dots dots;
  char text[BRAILLE_LINE_MAX + 1];
  for (int n = 1; n <= doc.line_count(); ++n) {
    doc.get_line(text, n);
    const double line_mm = (n - 1) * (2 * 2.22 + 6.03);
    for (int j = 0; text[j]; ++j) {
      const int pattern = static_cast<unsigned char>(text[j]) - 0xA0;
      const int x = mm_to_steps(line_mm, VERTICAL_STEP_MM);
      const int y = mm_to_steps(j * (3.11 + 2.07), HORIZONTAL_STEP_MM);
      for (int bit = 0; bit < 6; ++bit)
        if (pattern & (1 << bit)) dots.insert({x + 6 + (bit % 3) * 7, y + (bit / 3) * 6});
    }
  }
  return dots;
}

TEST(DesktopPrint, TwoCopiesOfASampleReachTheEmbosserAsItsCells) {
  testing::VirtualEmbosserProcess embosser(1, 1);
  ASSERT_TRUE(embosser.ready());
  const std::string sample = std::string(TENJI_SOURCE_DIR) + "/samples/aiueo.NRK";
  testing::FakeUiServices services;
  services.next_file = sample;
  testing::TempDir dir;
  const std::string path = dir.file("tenjiprint.ini");
  ASSERT_TRUE(write_default_settings(path));
  ASSERT_TRUE(save_port_keys(path, 0, 3, 1));

  MainDialog main(path);
  auto print_then_close = [](ui::Dialog& d) {
    d.command(resources::ID_PRINT);
    d.end_dialog(ui::IDCANCEL);
  };
  testing::run_dialog(main, print_then_close, [](ui::Dialog& d) {
    if (d.template_id() == resources::IDD_COPIES) {
      d.set_item_text(resources::IDC_COPIES, "2");
      d.press(resources::IDOK);
    } else if (d.template_id() != resources::IDD_PRINTING) {
      d.end_dialog(ui::IDCANCEL);
    }
  });
  ASSERT_TRUE(embosser.wait_exit());
  EXPECT_TRUE(services.boxes.empty());

  BrailleDocument doc;
  ASSERT_EQ(BrailleFileReader(sample.c_str()).read(&doc), 0);
  const auto job = embosser::decode_stream(embosser.file("job-1.bin"));
  EXPECT_TRUE(job.errors.empty());
  ASSERT_EQ(job.pages.size(), 2u);
  for (const auto& page : job.pages) {
    Dots got;
    for (const auto& d : page.dots) got.insert({d.x, d.y});
    EXPECT_EQ(got, expected_dots(doc));
  }
}

double json_number(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? -1 : std::atof(json.c_str() + at + key.size() + 4);
}

TEST(DesktopPrint, CancelEndsWithAWholeCellThenCrAndTheWindowClosesWithTheLastByte) {
  testing::VirtualEmbosserProcess embosser(1, 1, "--baud 1200");
  ASSERT_TRUE(embosser.ready());
  testing::TempDir dir;
  testing::write_file(dir.file("page.NRK"), encode_nrk(std::vector<std::string>(10, std::string(32, '\xDF'))));
  testing::FakeUiServices services;
  services.next_file = dir.file("page.NRK");
  const std::string settings = dir.file("tenjiprint.ini");
  ASSERT_TRUE(write_default_settings(settings));

  PrintingDialog printing(nullptr, settings);
  double closed_at = 0;
  testing::run_dialog(
      printing,
      [&](ui::Dialog& d) {
        QTimer::singleShot(1500, [&d] { d.press(resources::IDCANCEL); });
        QObject::connect(ui::dialog_window(d), &QDialog::finished, [&] {
          closed_at = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        });
      },
      [](ui::Dialog& d) { d.press(resources::IDOK); });  // one copy
  ASSERT_TRUE(embosser.wait_exit());
  EXPECT_TRUE(services.boxes.empty());
  const std::string got = embosser.file("job-1.bin");
  EXPECT_EQ((got.size() - 3 - 4 - 1) % 38, 0u);  // reset, dot size, whole cells, CR
  EXPECT_EQ(got.back(), '\x0D');
  EXPECT_LT(got.size(), 10u * 32 * 38);
  const double last_byte = json_number(embosser.file("job-1.json"), "last_byte_at");
  EXPECT_GT(closed_at - last_byte, -0.05);
  EXPECT_LT(closed_at - last_byte, 0.3);
}

}  // namespace
}  // namespace tenji
