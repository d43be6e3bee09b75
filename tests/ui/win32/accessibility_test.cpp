// What a Windows screen reader is given, watched where the program hands it
// to the platform (Wine takes it without passing it on).
#include "ui/win32/accessibility_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/resource_ids.h"
#include "support/fake_ui_services.h"
#include "ui/win32/dialog_win32.h"

namespace tenji::ui {
namespace {

using Kind = AccessibleNote::Kind;
using namespace resources;

struct Watch {
  std::vector<AccessibleNote> notes;
  std::vector<bool> visible_when_announced;
  platform::ScopedHook<AccessibleNoteSink> hook{accessible_note_hook, [this](const AccessibleNote& n) {
                                                  notes.push_back(n);
                                                  if (n.kind == Kind::announcement)
                                                    visible_when_announced.push_back(IsWindowVisible(n.window) != 0);
                                                }};
  std::vector<std::string> texts(Kind kind, HWND window = nullptr) const {
    std::vector<std::string> out;
    for (const auto& n : notes)
      if (n.kind == kind && (!window || n.window == window)) out.push_back(n.text);
    return out;
  }
};

HWND item(Dialog& d, int id) { return GetDlgItem(dialog_hwnd(d), id); }

TEST(WindowsScreenReaders, ValuesAreNamedWithMeaningAndUnitAndFieldsDescribedByTheirUnit) {
  Watch watch;
  Dialog spacing(IDD_DOT_SPACING, nullptr);
  std::vector<std::string> display, field, unspoken;
  testing::run_dialog(spacing, [&](Dialog& d) {
    d.set_item_text(IDC_SHOW_TEN_HEIGHT, "2.22");
    display = watch.texts(Kind::name, item(d, IDC_SHOW_TEN_HEIGHT));
    field = watch.texts(Kind::description, item(d, IDC_TEN_HEIGHT));
    d.end_dialog(IDCANCEL);
  });
  EXPECT_EQ(display, (std::vector<std::string>{"縦点間の実印刷設定値  mm", "縦点間の実印刷設定値 2.22 mm"}));
  EXPECT_EQ(field, std::vector<std::string>{"単位 mm"});
  const auto names = watch.texts(Kind::name);
  EXPECT_NE(std::find(names.begin(), names.end(), "点間隔の図"), names.end());
  const auto descriptions = watch.texts(Kind::description);
  EXPECT_NE(std::find(descriptions.begin(), descriptions.end(), "横点間、マス間、縦点間、行間を示す図"),
            descriptions.end());
  EXPECT_TRUE(watch.texts(Kind::announcement).empty());  // typing changes values; nothing is read out
}

TEST(WindowsScreenReaders, TheFitWarningIsReadOutOnceWhenItIsOnScreen) {
  Watch watch;
  Dialog warning(IDD_FIT_WARNING, nullptr);
  std::vector<std::string> said_at_show;
  testing::run_dialog(warning, [&](Dialog& d) {
    said_at_show = watch.texts(Kind::announcement, dialog_hwnd(d));
    d.end_dialog(IDCANCEL);
  });
  const std::string alert = "点字ファイルの内容が設定された印刷領域内に収まりません。";
  EXPECT_EQ(said_at_show, std::vector<std::string>{alert});
  EXPECT_EQ(watch.visible_when_announced, std::vector<bool>{true});
  const auto descriptions = watch.texts(Kind::description);
  EXPECT_NE(std::find(descriptions.begin(), descriptions.end(), alert), descriptions.end());
}

// The printing status is read out when the program says so, not at every
// change; the end of a print is read where it is shown.
TEST(WindowsScreenReaders, StatusLinesAreReadOutOnlyWhenSpoken) {
  Watch watch;
  Dialog printing(IDD_PRINTING, nullptr);
  testing::run_dialog(printing, [&](Dialog& d) {
    d.set_item_text(IDC_PRINTING_STATUS, "1/2部  残り約20秒");
    d.set_item_text_unspoken(IDC_PRINTING_STATUS, "1/2部  残り約19秒");
    d.set_item_text(IDC_PRINTING_STATUS, "2/2部  残り約9秒");
    d.end_dialog(IDCANCEL);
  });
  EXPECT_EQ(watch.texts(Kind::announcement), (std::vector<std::string>{"1/2部  残り約20秒", "2/2部  残り約9秒"}));

  Watch end;
  Dialog main(IDD_MAIN, nullptr);
  testing::run_dialog(main, [&](Dialog& d) {
    d.set_item_text(IDC_MAIN_STATUS, "印刷が終わりました（1部）。");
    d.end_dialog(IDCANCEL);
  });
  EXPECT_EQ(end.texts(Kind::announcement), std::vector<std::string>{"印刷が終わりました（1部）。"});
  const auto names = end.texts(Kind::name);
  EXPECT_NE(std::find(names.begin(), names.end(), "印刷の結果"), names.end());
}

}  // namespace
}  // namespace tenji::ui
