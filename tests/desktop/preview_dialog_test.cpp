#include "desktop/preview_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "resources/resource_ids.h"
#include "support/fake_comm.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"
#include "support/window_actions.h"
#include "desktop/main_dialog.h"

namespace tenji {
namespace {

using namespace resources;

// Two source pages: ⠁⠃ and ⠉ on the first, ⠿ on the second.
BrailleDocument two_pages() {
  BrailleDocument doc;
  doc.append_cells("\xA1\xA3");
  doc.append_cells("\xA9");
  doc.break_page();
  doc.append_cells("\xDF");
  return doc;
}

TEST(PreviewWindow, TheKeysTurnTheSheetsAndZoomWhereverTheFocusIs) {
  const PrintSettings settings = default_print_settings();
  const BrailleDocument doc = two_pages();
  PreviewDialog preview(nullptr, settings, doc, paginate(doc, settings.LPP));
  std::vector<std::string> seen;
  auto note = [&](ui::Dialog& d) {
    seen.push_back(d.item_text(IDC_PREVIEW_TEXT_LABEL) + " | " + d.item_text(IDC_PREVIEW_TEXT) + "| " +
                   d.item_text(IDC_PREVIEW_ZOOM) + (d.item_enabled(IDC_PREVIEW_PREVIOUS) ? " <" : "") +
                   (d.item_enabled(IDC_PREVIEW_NEXT) ? " >" : ""));
  };
  using K = resources::Key;
  // Each key, then what the window shows, in a chain through the dialog's loop.
  const std::vector<std::pair<K, bool>> keys = {{K::page_down, false}, {K::page_down, false}, {K::home, false},
                                                {K::end, false},       {K::page_up, false},   {K::plus, true},
                                                {K::plus, true},       {K::plus, true},       {K::plus, true},
                                                {K::minus, true}};
  std::function<void(ui::Dialog&, std::size_t)> step = [&](ui::Dialog& d, std::size_t i) {
    if (i == keys.size()) return d.press(IDC_PREVIEW_PRINT);
    testing::press_key(d, keys[i].first, keys[i].second, [&, i] {
      note(d);
      step(d, i + 1);
    });
  };
  const int result = testing::run_dialog(preview, [&](ui::Dialog& d) {
    note(d);
    step(d, 0);
  });
  EXPECT_EQ(result, IDC_PREVIEW_PRINT);
  const std::string first = "点字 1 / 2 ページ | ⠁⠃\n⠉\n| ", second = "点字 2 / 2 ページ | ⠿\n| ";
  EXPECT_EQ(seen, (std::vector<std::string>{
                      first + "拡大率 全体 >", second + "拡大率 全体 <", second + "拡大率 全体 <",
                      first + "拡大率 全体 >", second + "拡大率 全体 <", first + "拡大率 全体 >",
                      first + "拡大率 100% >", first + "拡大率 150% >", first + "拡大率 200% >",
                      first + "拡大率 200% >", first + "拡大率 150% >"}));
  EXPECT_EQ(preview.sheet(), 1);
}

TEST(PreviewWindow, PrintFromThePreviewSendsWhatPrintSends) {
  testing::TempDir dir;
  testing::write_file(dir.file("doc.NRK"), encode_nrk({"\xA1\xA3", "\xA9"}));
  testing::FakeUiServices services;
  services.next_file = dir.file("doc.NRK");
  testing::FakeCommApi fake;
  fake.device(1);
  testing::IdleHookOverride idle_hook;
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  // The same print twice: through プレビュー and its 印刷, and through 印刷.
  std::vector<std::string> streams;
  for (const int button : {IDC_MAIN_PREVIEW, IDC_MAIN_PRINT}) {
    fake.locked([&] { return fake.device(1).line.clear(), 0; });
    MainDialog main(dir.file("s.ini"));
    std::vector<int> shown;
    testing::run_dialog(
        main,
        [&](ui::Dialog& d) {
          d.press(button);
          d.end_dialog(ui::IDCANCEL);
        },
        [&](ui::Dialog& d) {
          shown.push_back(d.template_id());
          if (d.template_id() == IDD_PREVIEW) {
            EXPECT_EQ(d.item_text(IDC_PREVIEW_TEXT), "⠁⠃\n⠉\n");
            EXPECT_EQ(d.item_text(IDC_PREVIEW_SUMMARY), "1ページ（1枚）\n2行、3マス\n5点\n75バイト\n1200 bit/s で約0.6秒");
            d.press(IDC_PREVIEW_PRINT);
          } else if (d.template_id() == IDD_COPIES) {
            d.press(IDOK);
          }
        });
    EXPECT_EQ(shown.front(), button == IDC_MAIN_PREVIEW ? IDD_PREVIEW : IDD_COPIES);
    streams.push_back(fake.locked([&] { return fake.device(1).line; }));
    close_all_ports();
  }
  EXPECT_EQ(streams[0].size(), 75u);
  EXPECT_EQ(streams[0], streams[1]);
}

}  // namespace
}  // namespace tenji
