#include <gtest/gtest.h>

#include <string>

#include "config/print_settings.h"
#include "printer_app/settings_form.h"

namespace tenji::server {
namespace {

// The line's settings: Ｂ５, the default geometry.
PrintSettings saved() {
  PrintSettings s = default_print_settings();
  s.PAPER_SIZE = 1;
  s.START_X = 0, s.START_Y = 0, s.END_X = 230.1, s.END_Y = 165.4;
  s.COM_SPEED = 3;
  return s;
}

TEST(SettingsForm, SpacingsAreStoredAsWholeStepsWithTheCapacity) {
  struct Case {
    Form form;
    double ten_height, masu_between;
    int cpl, lpp, speed;
  };
  const Case cases[] = {
      {{{"TEN_HEIGHT", "2.5"}}, 2.54, 3.11, 32, 21, 3},
      {{{"TEN_HEIGHT", "２．５"}}, 2.54, 3.11, 32, 21, 3},
      {{{"TEN_HEIGHT", "2.541"}}, 2.54, 3.11, 32, 21, 3},  // cut to the field's four characters
      {{{"MASU_BETWEEN", "4"}, {"COM_SPEED", "0"}}, 2.22, 4.14, 27, 22, 0},
      {{}, 2.22, 3.11, 32, 22, 3},
  };
  for (const Case& c : cases) {
    PrintSettings s = saved();
    const FormRead read = read_settings_form(c.form, s);
    EXPECT_EQ(read.failed_check, 0) << read.message;
    EXPECT_DOUBLE_EQ(s.TEN_HEIGHT, c.ten_height);
    EXPECT_DOUBLE_EQ(s.MASU_BETWEEN, c.masu_between);
    EXPECT_EQ(s.CPL, c.cpl);
    EXPECT_EQ(s.LPP, c.lpp);
    EXPECT_EQ(s.COM_SPEED, c.speed);
  }
}

TEST(SettingsForm, ARefusalNamesTheFirstFailedCheckAndChangesNothing) {
  struct Case {
    Form form;
    int check;
    const char* message;
  };
  const Case cases[] = {
      {{{"TEN_HEIGHT", "5.09"}}, 1, "縦点間の値が範囲内ではありません。"},
      {{{"GYO_BETWEEN", "９．５"}}, 4, "行間の値が範囲内ではありません。"},
      {{{"END_Y", "165.5"}}, 8, "印刷領域 Ｙ座標終了点の値が範囲内ではありません。"},
      {{{"PAPER_SIZE", "0"}, {"END_Y", "165.5"}}, 0, ""},  // Ａ４ takes 206.8
      {{{"START_X", "100"}, {"END_X", "90"}}, 9, "印刷領域 Ｘ座標またはＹ座標の開始点と終了点の値が正しくありません。"},
      {{{"PAPER_SIZE", "2"}}, 0, ""},  // not a paper: Ａ４'s limits, as the dialog
      {{{"TEN_KIND", "3"}}, 10, "点の種類を選んでください。"},
      {{{"COM_SPEED", "x"}}, 10, "通信速度を選んでください。"},
  };
  for (const Case& c : cases) {
    PrintSettings s = saved();
    const FormRead read = read_settings_form(c.form, s);
    EXPECT_EQ(read.failed_check, c.check);
    EXPECT_EQ(read.message, c.message);
    if (c.check != 0) {
      EXPECT_DOUBLE_EQ(s.END_Y, 165.4);
    }
  }
}

TEST(SettingsForm, LiveValuesFollowTheTyping) {
  EXPECT_EQ(live_values_json({{"TEN_HEIGHT", "2.5"}}, saved()),
            "{\"steps\": {\"TEN_HEIGHT\": \"2.54\", \"TEN_WIDTH\": \"2.07\", \"MASU_BETWEEN\": \"3.11\", "
            "\"GYO_BETWEEN\": \"6.03\"}, \"capacity\": \"32マス × 21行\", \"message\": \"\"}");
  EXPECT_EQ(live_values_json({{"TEN_WIDTH", "1"}}, saved()),
            "{\"steps\": {\"TEN_HEIGHT\": \"2.22\", \"TEN_WIDTH\": \"1.04\", \"MASU_BETWEEN\": \"3.11\", "
            "\"GYO_BETWEEN\": \"6.03\"}, \"capacity\": \"—\", \"message\": \"横点間の値が範囲内ではありません。\"}");
}

TEST(SettingsForm, ThePageShowsWhatWasTypedEscaped) {
  PageState page;
  page.settings = saved();
  page.typed = {{"TEN_HEIGHT", "<b>\"2'"}};
  page.message = "a & b";
  page.message_is_error = true;
  const std::string html = settings_page_html(page);
  EXPECT_NE(html.find("value=\"&lt;b&gt;&quot;2&#39;\""), std::string::npos);
  EXPECT_NE(html.find("<p id=\"tenji-message\" role=\"alert\">a &amp; b</p>"), std::string::npos);
  EXPECT_NE(html.find("<html lang=\"ja\">"), std::string::npos);
  page.may_change = false;
  EXPECT_EQ(settings_page_html(page).find("type=\"submit\""), std::string::npos);
}

}  // namespace
}  // namespace tenji::server
