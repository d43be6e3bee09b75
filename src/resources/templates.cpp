#include <map>
#include <stdexcept>

#include "resources/dialog_template.h"
#include "resources/resource_ids.h"

namespace tenji::resources {

namespace {

using K = ControlKind;

ControlTemplate control(int id, ControlKind kind, std::string text, Rect r, unsigned style = ES_NONE) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.text = std::move(text);
  c.rect = r;
  c.edit_style = style;
  return c;
}
ControlTemplate button(int id, std::string text, Rect r, bool is_default = false) {
  return control(id, is_default ? K::default_push_button : K::push_button, std::move(text), r);
}
ControlTemplate label(std::string text, Rect r, bool right = false, int id = NO_ID) {
  return control(id, right ? K::static_right : K::static_left, std::move(text), r);
}
ControlTemplate edit(int id, Rect r, unsigned style = ES_STANDARD) { return control(id, K::edit, "", r, style); }
ControlTemplate list(int id, Rect r, std::vector<std::string> items) {
  ControlTemplate c = control(id, K::drop_down_list, "", r);
  c.items = std::move(items);
  return c;
}
ControlTemplate picture(int image, Rect r) {
  ControlTemplate c = control(NO_ID, K::picture, "", r);
  c.image_id = image;
  return c;
}
// A number the program shows, read with its meaning (and unit, and the
// field it belongs to).
ControlTemplate display(int id, Rect r, std::string meaning, std::string unit = {}, int field = NO_ID,
                        bool right = true) {
  ControlTemplate c = label("", r, right, id);
  c.meaning = std::move(meaning);
  c.unit = std::move(unit);
  c.field = field;
  return c;
}
ControlTemplate status_line(int id, Rect r, std::string meaning) {
  ControlTemplate c = edit(id, r, ES_NONE);
  c.read_only = c.live = true;
  c.meaning = std::move(meaning);
  return c;
}
ControlTemplate with_unit(ControlTemplate c, std::string unit) {
  c.unit = std::move(unit);
  return c;
}

const WindowStyle POPUP{true, false, false};

DialogTemplate make_template(int id, std::string caption, WindowStyle style, int width, int height) {
  DialogTemplate t;
  t.id = id;
  t.caption = std::move(caption);
  t.style = style;
  t.width = width;
  t.height = height;
  return t;
}

DialogTemplate about_100() {
  // Grown below by the settings file in use, so that the user knows where
  // the settings are kept.
  DialogTemplate t = make_template(IDD_ABOUT, std::string(APP_CAPTION) + "のバージョン情報", POPUP, 293, 75);
  t.controls = {
      label(APP_CAPTION, {39, 10, 149, 8}),
      label("Version 1.0", {110, 25, 63, 8}, false, IDC_ABOUT_VERSION),  // the build's own, set on opening
      button(IDOK, "OK", {224, 7, 50, 14}, true),
      label("", {7, 42, 279, 26}, false, IDC_ABOUT_SETTINGS),
  };
  return t;
}

DialogTemplate main_102() {
  // Grown below by a status line: how the last print ended, where the focus
  // goes when it ends, so that a screen reader reads it.
  // プレビュー stands below 印刷: another way to the same print.
  DialogTemplate t = make_template(IDD_MAIN, APP_CAPTION, WindowStyle{true, false, true}, 239, 126);
  t.menu_id = IDR_MAIN_MENU;
  t.controls = {
      button(IDC_MAIN_DOT_SPACING, "点間隔等の設定(&T)", {35, 7, 66, 24}),
      button(IDC_MAIN_PRINT, "印刷(&P)", {35, 43, 66, 24}),
      button(IDC_MAIN_PREVIEW, "プレビュー(&V)", {35, 79, 66, 24}),
      button(IDC_MAIN_PORT_SETTINGS, "周辺機器設定(&K)", {137, 7, 66, 24}),
      button(IDC_MAIN_EXIT, "終了(&X)", {137, 43, 66, 24}),
      status_line(IDC_MAIN_STATUS, {35, 110, 168, 11}, "印刷の結果"),
  };
  return t;
}

DialogTemplate preview_150() {
  DialogTemplate t = make_template(IDD_PREVIEW, "印刷プレビュー", POPUP, 420, 290);
  ControlTemplate page = control(IDC_PREVIEW_PAGE, K::page_view, "", {7, 7, 200, 256});
  ControlTemplate text = control(IDC_PREVIEW_TEXT, K::edit, "", {215, 18, 198, 158}, ES_BORDER);
  text.read_only = text.multi_line = true;
  t.controls = {
      label("点字 1 / 1 ページ", {215, 7, 198, 8}, false, IDC_PREVIEW_TEXT_LABEL),
      text,
      label("", {215, 183, 198, 48}, false, IDC_PREVIEW_SUMMARY),
      label("拡大率 全体", {215, 236, 198, 8}, false, IDC_PREVIEW_ZOOM),
      page,
      button(IDC_PREVIEW_PREVIOUS, "前のページ(&B)", {7, 269, 60, 14}),
      button(IDC_PREVIEW_NEXT, "次のページ(&N)", {72, 269, 60, 14}),
      button(IDC_PREVIEW_PRINT, "印刷(&P)", {287, 269, 60, 14}, true),
      button(IDCANCEL, "閉じる", {353, 269, 60, 14}),
  };
  using resources::Key;
  t.accelerators = {{Key::page_up, false, IDC_PREVIEW_PREVIOUS}, {Key::page_down, false, IDC_PREVIEW_NEXT},
                    {Key::home, false, ID_PREVIEW_FIRST},        {Key::end, false, ID_PREVIEW_LAST},
                    {Key::plus, true, ID_PREVIEW_ZOOM_IN},       {Key::minus, true, ID_PREVIEW_ZOOM_OUT}};
  return t;
}

DialogTemplate dot_spacing_130() {
  DialogTemplate t = make_template(IDD_DOT_SPACING, "点間隔等の設定", WindowStyle{false, false, false}, 331, 221);
  auto mm = [](int x, int y) { return label("mm", {x, y, 12, 8}); };
  auto mm_edit = [](int id, Rect r) { return with_unit(edit(id, r), "mm"); };
  t.controls = {
      button(IDC_SETTINGS_OK, "ＯＫ(&O)", {269, 7, 55, 22}, true),
      button(IDC_SETTINGS_CANCEL, "キャンセル(&C)", {269, 33, 55, 22}),
      button(IDC_LOAD_SETTINGS, "設定ﾌｧｲﾙ読込(&R)", {269, 63, 55, 22}),
      button(IDC_SAVE_SETTINGS, "設定ﾌｧｲﾙ保存(&S)", {269, 92, 55, 22}),
      button(IDC_SPACING_PRINT, "印刷(&P)", {269, 121, 55, 22}),
      label("縦点間", {25, 21, 24, 8}, true),
      mm_edit(IDC_TEN_HEIGHT, {53, 20, 33, 13}),
      mm(87, 22),
      label("横点間", {25, 39, 24, 8}, true),
      mm_edit(IDC_TEN_WIDTH, {53, 38, 33, 13}),
      mm(87, 40),
      label("マス間", {25, 57, 24, 8}, true),
      mm_edit(IDC_MASU_BETWEEN, {53, 56, 33, 13}),
      mm(87, 58),
      label("行間", {25, 75, 24, 8}, true),
      mm_edit(IDC_GYO_BETWEEN, {53, 74, 33, 13}),
      mm(87, 76),
      label("点の種類", {13, 93, 35, 8}, true),
      list(IDC_TEN_KIND, {53, 92, 33, 47}, {"小", "中", "大"}),
      label("用紙サイズ", {13, 110, 35, 8}, true),
      list(IDC_PAPER_SIZE, {53, 109, 33, 46}, {"Ａ４", "Ｂ５"}),
      label("印刷領域", {29, 132, 32, 10}),
      label("Ｘ座標開始点", {7, 149, 42, 8}, true),
      mm_edit(IDC_START_X, {53, 148, 33, 13}),
      mm(87, 150),
      label("Ｙ座標開始点", {7, 167, 42, 8}, true),
      mm_edit(IDC_START_Y, {53, 166, 33, 13}),
      mm(87, 168),
      label("Ｘ座標終了点", {7, 185, 42, 8}, true),
      mm_edit(IDC_END_X, {53, 184, 33, 13}),
      mm(87, 186),
      label("Ｙ座標終了点", {7, 204, 42, 8}, true),
      mm_edit(IDC_END_Y, {53, 201, 33, 13}),
      mm(87, 203),
      label("実印刷\n設定値", {108, 2, 26, 17}),  // two lines, broken between the words
      display(IDC_SHOW_TEN_HEIGHT, {101, 22, 23, 10}, "縦点間の実印刷設定値", "mm", IDC_TEN_HEIGHT),
      mm(124, 22),
      display(IDC_SHOW_TEN_WIDTH, {101, 42, 23, 10}, "横点間の実印刷設定値", "mm", IDC_TEN_WIDTH),
      mm(124, 42),
      display(IDC_SHOW_MASU_BETWEEN, {101, 59, 23, 10}, "マス間の実印刷設定値", "mm", IDC_MASU_BETWEEN),
      mm(124, 59),
      display(IDC_SHOW_GYO_BETWEEN, {101, 77, 23, 10}, "行間の実印刷設定値", "mm", IDC_GYO_BETWEEN),
      mm(124, 77),
      picture(IDB_GEOMETRY, {137, 7, 128, 149}),
      // What the fields would give, kept up to date while the user types.
      label("印刷できる量", {137, 170, 46, 8}),
      display(IDC_CAPACITY, {185, 170, 80, 8}, "印刷できる量", "", NO_ID, false),
  };
  return t;
}

DialogTemplate port_132() {
  // Grown downwards by what the selected number is, and the device list.
  DialogTemplate t = make_template(IDD_PORT_SETTINGS, "周辺機器設定", POPUP, 167, 100);
  t.controls = {
      button(IDC_SETTINGS_OK, "ＯＫ(&O)", {110, 7, 50, 21}, true),
      button(IDC_SETTINGS_CANCEL, "キャンセル(&C)", {110, 37, 50, 21}),
      label("接続するポート", {7, 15, 45, 10}, true),
      list(IDC_PORT_LIST, {57, 13, 41, 40},
           {"ｃｏｍ１", "ｃｏｍ２", "ｃｏｍ３", "ｃｏｍ４", "ｃｏｍ５", "ｃｏｍ６", "ｃｏｍ７", "ｃｏｍ８",
            "ｃｏｍ９", "ｃｏｍ１０", "ｃｏｍ１１", "ｃｏｍ１２", "ｃｏｍ１３", "ｃｏｍ１４", "ｃｏｍ１５",
            "ｃｏｍ１６"}),
      label("通信速度", {7, 41, 45, 10}, true),
      list(IDC_SPEED_LIST, {57, 39, 41, 40}, {"1200", "2400", "4800", "9600"}),
      label("", {7, 63, 153, 10}, false, IDC_PORT_DEVICE),
      button(IDC_PORT_ASSIGN, "装置を割り当てる(&D)...", {7, 77, 91, 16}),
  };
  return t;
}

// Which found device answers to the COM number chosen in 周辺機器設定.
DialogTemplate port_devices_151() {
  DialogTemplate t = make_template(IDD_PORT_DEVICES, "装置の割り当て", POPUP, 264, 87);
  t.controls = {
      label("", {7, 7, 250, 9}, false, IDC_DEVICES_LABEL),
      list(IDC_DEVICE_LIST, {7, 19, 250, 80}, {}),
      label("", {7, 37, 250, 20}, false, IDC_DEVICE_NOTE),
      button(IDOK, "割り当て(&A)", {150, 62, 52, 18}, true),
      button(IDCANCEL, "キャンセル(&C)", {205, 62, 52, 18}),
  };
  return t;
}

DialogTemplate fit_warning_138() {
  // Grown to the right by a third choice for documents longer than a page.
  DialogTemplate t = make_template(IDD_FIT_WARNING, "印刷時の警告", POPUP, 311, 111);
  t.alert = "点字ファイルの内容が設定された印刷領域内に収まりません。";
  t.controls = {
      button(IDOK, "そのまま印刷する(&P)", {7, 77, 89, 27}, true),
      button(IDCANCEL, "点字ファイルを編集する(&C)", {111, 77, 89, 27}),
      button(IDC_FIT_ALL_PAGES, "全ページ印刷(&A)", {215, 77, 89, 27}),
      label("点字ファイルの内容が設定された印刷領域内に収まりません。", {7, 7, 193, 12}),
      label("現点間隔での設定値", {7, 39, 62, 8}),
      label("点字ファイルの設定値", {7, 56, 66, 8}),
      label("マス数", {79, 26, 20, 8}),
      label("行数", {123, 25, 15, 8}),
      display(IDC_FIT_CPL, {77, 41, 17, 8}, "現点間隔での設定値 1行のマス数"),
      display(IDC_FIT_LPP, {118, 40, 15, 8}, "現点間隔での設定値 行数"),
      display(IDC_FIT_LONGEST_LINE, {77, 55, 17, 8}, "点字ファイルの設定値 1行のマス数"),
      display(IDC_FIT_LINE_COUNT, {118, 54, 15, 8}, "点字ファイルの設定値 行数"),
  };
  return t;
}

// Grown below the Cancel button by a progress bar and a status line, so
// that a long job can be followed.
DialogTemplate printing_139() {
  DialogTemplate t = make_template(IDD_PRINTING, "印刷", POPUP, 150, 84);
  t.controls = {
      button(IDCANCEL, "キャンセル(&C)", {7, 25, 56, 21}),
      label("印刷中．．．", {7, 7, 35, 8}, false, IDC_PRINTING_TEXT),
      control(IDC_PRINTING_PROGRESS, K::progress_bar, "印刷の進み具合", {7, 53, 136, 10}),
      label("", {7, 68, 136, 9}, false, IDC_PRINTING_STATUS),
  };
  t.controls.back().live = true;
  return t;
}

DialogTemplate copies_140() {
  DialogTemplate t = make_template(IDD_COPIES, "印刷", POPUP, 115, 69);
  t.controls = {
      label("印刷部数を入力してください。", {13, 7, 87, 11}),
      edit(IDC_COPIES, {37, 22, 31, 12}, ES_STANDARD | ES_DIGITS_ONLY),
      button(IDOK, "印刷(&P)", {7, 44, 46, 18}, true),
      button(IDCANCEL, "キャンセル(&C)", {61, 44, 46, 18}),
  };
  return t;
}

DialogTemplate pitch_142() {
  DialogTemplate t = make_template(IDD_PITCH_TEST, "ピッチ指定１点字印刷", POPUP, 155, 59);
  t.controls = {
      label("Ｘ軸", {7, 10, 12, 8}),
      with_unit(edit(IDC_PITCH_X, {22, 7, 42, 14}, ES_STANDARD | ES_DIGITS_ONLY), "ピッチ"),
      label("ピッチ", {67, 10, 18, 8}),
      label("Ｙ軸", {7, 34, 12, 8}),
      with_unit(edit(IDC_PITCH_Y, {22, 31, 42, 14}, ES_STANDARD | ES_DIGITS_ONLY), "ピッチ"),
      label("ピッチ", {67, 34, 18, 8}),
      button(IDOK, "OK", {98, 7, 50, 14}, true),
      button(IDCANCEL, "ｷｬﾝｾﾙ", {98, 24, 50, 14}),
  };
  return t;
}

// Which pages of a document of several to print, and the line to start at
// (after a paper jam).
DialogTemplate page_range_143() {
  DialogTemplate t = make_template(IDD_PAGE_RANGE, "印刷するページ", POPUP, 172, 90);
  t.controls = {
      label("", {7, 7, 158, 9}, false, IDC_RANGE_PAGES),
      label("開始ページ", {7, 24, 50, 8}, true),
      edit(IDC_RANGE_FROM, {61, 22, 36, 13}, ES_STANDARD | ES_DIGITS_ONLY),
      label("終了ページ", {7, 42, 50, 8}, true),
      edit(IDC_RANGE_TO, {61, 40, 36, 13}, ES_STANDARD | ES_DIGITS_ONLY),
      label("開始行", {7, 60, 50, 8}, true),
      edit(IDC_RANGE_LINE, {61, 58, 36, 13}, ES_STANDARD | ES_DIGITS_ONLY),
      button(IDOK, "印刷(&P)", {111, 22, 54, 18}, true),
      button(IDCANCEL, "キャンセル(&C)", {111, 45, 54, 18}),
  };
  return t;
}

const std::map<int, DialogTemplate>& templates() {
  static const std::map<int, DialogTemplate> all = [] {
    std::map<int, DialogTemplate> m;
    for (DialogTemplate t : {about_100(), main_102(), dot_spacing_130(), port_132(), fit_warning_138(),
                             printing_139(), copies_140(), pitch_142(), page_range_143(), preview_150(),
                             port_devices_151()})
      m.emplace(t.id, std::move(t));
    return m;
  }();
  return all;
}

const MenuTemplate MENU_129 = {
    IDR_MAIN_MENU,
    {
        {"設定(&S)", 0,
         {{"点間隔等の設定(&T)", ID_DOT_SPACING, {}}, {"ピッチ指定１点字印刷(&I)", ID_PITCH_TEST, {}}, {"終了(&X)", ID_APP_EXIT, {}}}},
        {"印刷(&P)", ID_PRINT, {}},
        {"プレビュー(&V)", ID_PREVIEW, {}},
        {"周辺機器設定(&K)", ID_PORT_SETTINGS, {}},
        {"ヘルプ(&H)", 0, {{"バージョン(&A)", ID_APP_ABOUT, {}}}},
    },
};

const IconTemplate ICON_146 = {IDI_BIG, {
      "                                ",
      "     0000000000000000000000     ",
      "     0444444444444444444440     ",
      "     0444444444444444444440     ",
      "     0444444444444444444440     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0fff00080ffff00080fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0fff00000ffff00000fff0     ",
      "     0ffff000ffffff000ffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0ffffffffffffffffffff0     ",
      "     0000000000000000000000     ",
      "                                "}};

const IconTemplate ICON_147 = {IDI_SMALL, {
      "                                ",
      "                                ",
      "                                ",
      "   44444444444444444444444444   ",
      "   44444444444444444444444444   ",
      "   44ffffffffffffffffffffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44ffff00000ffff00000ffff44   ",
      "   44fffff000ffffff000fffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44ffffffffffffffffffffff44   ",
      "   44444444444444444444444444   ",
      "   44444444444444444444444444   ",
      "                                ",
      "                                ",
      "                                "}};

}  // namespace

const DialogTemplate& dialog_template(int id) { return templates().at(id); }

const std::vector<int>& dialog_template_ids() {
  static const std::vector<int> ids = [] {
    std::vector<int> v;
    for (const auto& [id, t] : templates()) v.push_back(id);
    return v;
  }();
  return ids;
}

const MenuTemplate& menu_template(int id) {
  if (id != IDR_MAIN_MENU) throw std::out_of_range("no such menu");
  return MENU_129;
}

const IconTemplate& icon_template(int id) {
  if (id == IDI_BIG) return ICON_146;
  if (id == IDI_SMALL) return ICON_147;
  throw std::out_of_range("no such icon");
}

unsigned icon_palette_colour(char letter) {
  static const unsigned palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (letter >= '0' && letter <= '9') return palette[letter - '0'];
  if (letter >= 'a' && letter <= 'f') return palette[10 + letter - 'a'];
  return 0xFFFFFF;
}

}  // namespace tenji::resources
