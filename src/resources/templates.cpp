#include <map>
#include <stdexcept>

#include "resources/dialog_template.h"

namespace tenji::resources {

namespace {

using K = ControlKind;

ControlTemplate button(int id, std::string text, Rect r, bool is_default = false) {
  return {id, is_default ? K::default_push_button : K::push_button, std::move(text), r, ES_NONE, {}, 0};
}
ControlTemplate label(std::string text, Rect r, bool right = false, int id = NO_ID) {
  return {id, right ? K::static_right : K::static_left, std::move(text), r, ES_NONE, {}, 0};
}
ControlTemplate edit(int id, Rect r, unsigned style = ES_STANDARD) { return {id, K::edit, "", r, style, {}, 0}; }
ControlTemplate list(int id, Rect r, std::vector<std::string> items) {
  return {id, K::drop_down_list, "", r, ES_NONE, std::move(items), 0};
}
ControlTemplate picture(int image, Rect r) { return {NO_ID, K::picture, "", r, ES_NONE, {}, image}; }

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
  DialogTemplate t = make_template(100, std::string(APP_CAPTION) + "のバージョン情報", POPUP, 293, 55);
  t.controls = {
      label(APP_CAPTION, {39, 10, 149, 8}),
      label("Version 1.0", {110, 25, 63, 8}),
      button(1, "OK", {224, 7, 50, 14}, true),
  };
  return t;
}

DialogTemplate main_102() {
  DialogTemplate t = make_template(102, APP_CAPTION, WindowStyle{true, false, true}, 239, 75);
  t.menu_id = MENU_MAIN;
  t.controls = {
      button(1002, "点間隔等の設定(&T)", {35, 7, 66, 24}),
      button(1007, "印刷(&P)", {35, 43, 66, 24}),
      button(1001, "周辺機器設定(&K)", {137, 7, 66, 24}),
      button(1000, "終了(&X)", {137, 43, 66, 24}),
  };
  return t;
}

DialogTemplate dot_spacing_130() {
  DialogTemplate t = make_template(130, "点間隔等の設定", WindowStyle{false, false, false}, 331, 221);
  auto mm = [](int x, int y) { return label("mm", {x, y, 12, 8}); };
  t.controls = {
      button(1012, "ＯＫ(&O)", {269, 7, 55, 22}, true),
      button(1008, "キャンセル(&C)", {269, 33, 55, 22}),
      button(1009, "設定ﾌｧｲﾙ読込(&R)", {269, 63, 55, 22}),
      button(1010, "設定ﾌｧｲﾙ保存(&S)", {269, 92, 55, 22}),
      button(1007, "印刷(&P)", {269, 121, 55, 22}),
      label("縦点間", {25, 21, 24, 8}, true),
      edit(1001, {53, 20, 33, 13}),
      mm(87, 22),
      label("横点間", {25, 39, 24, 8}, true),
      edit(1002, {53, 38, 33, 13}),
      mm(87, 40),
      label("マス間", {25, 57, 24, 8}, true),
      edit(1003, {53, 56, 33, 13}),
      mm(87, 58),
      label("行間", {25, 75, 24, 8}, true),
      edit(1004, {53, 74, 33, 13}),
      mm(87, 76),
      label("点の種類", {13, 93, 35, 8}, true),
      list(1005, {53, 92, 33, 47}, {"小", "中", "大"}),
      label("用紙サイズ", {13, 110, 35, 8}, true),
      list(1006, {53, 109, 33, 46}, {"Ａ４", "Ｂ５"}),
      label("印刷領域", {29, 132, 32, 10}),
      label("Ｘ座標開始点", {7, 149, 42, 8}, true),
      edit(1011, {53, 148, 33, 13}),
      mm(87, 150),
      label("Ｙ座標開始点", {7, 167, 42, 8}, true),
      edit(1013, {53, 166, 33, 13}),
      mm(87, 168),
      label("Ｘ座標終了点", {7, 185, 42, 8}, true),
      edit(1014, {53, 184, 33, 13}),
      mm(87, 186),
      label("Ｙ座標終了点", {7, 204, 42, 8}, true),
      edit(1015, {53, 201, 33, 13}),
      mm(87, 203),
      label("実印刷設定値", {108, 2, 26, 17}),
      label("", {101, 22, 23, 10}, true, 1022),
      mm(124, 22),
      label("", {101, 42, 23, 10}, true, 1024),
      mm(124, 42),
      label("", {101, 59, 23, 10}, true, 1023),
      mm(124, 59),
      label("", {101, 77, 23, 10}, true, 1025),
      mm(124, 77),
      picture(BITMAP_GEOMETRY, {137, 7, 128, 149}),
      // What the fields would give, kept up to date while the user types.
      label("印刷できる量", {137, 170, 46, 8}),
      label("", {185, 170, 80, 8}, false, 1026),
  };
  return t;
}

DialogTemplate port_132() {
  DialogTemplate t = make_template(132, "周辺機器設定", POPUP, 167, 65);
  t.controls = {
      button(1012, "ＯＫ(&O)", {110, 7, 50, 21}, true),
      button(1008, "キャンセル(&C)", {110, 37, 50, 21}),
      label("接続するポート", {7, 15, 45, 10}, true),
      list(1009, {57, 13, 41, 40},
           {"ｃｏｍ１", "ｃｏｍ２", "ｃｏｍ３", "ｃｏｍ４", "ｃｏｍ５", "ｃｏｍ６", "ｃｏｍ７", "ｃｏｍ８",
            "ｃｏｍ９", "ｃｏｍ１０", "ｃｏｍ１１", "ｃｏｍ１２", "ｃｏｍ１３", "ｃｏｍ１４", "ｃｏｍ１５",
            "ｃｏｍ１６"}),
      label("通信速度", {7, 41, 45, 10}, true),
      list(1010, {57, 39, 41, 40}, {"1200", "2400", "4800", "9600"}),
  };
  return t;
}

DialogTemplate fit_warning_138() {
  DialogTemplate t = make_template(138, "印刷時の警告", POPUP, 207, 111);
  t.controls = {
      button(1, "そのまま印刷する(&P)", {7, 77, 89, 27}, true),
      button(2, "点字ファイルを編集する(&C)", {111, 77, 89, 27}),
      label("点字ファイルの内容が設定された印刷領域内に収まりません。", {7, 7, 193, 12}),
      label("現点間隔での設定値", {7, 39, 62, 8}),
      label("点字ファイルの設定値", {7, 56, 66, 8}),
      label("マス数", {79, 26, 20, 8}),
      label("行数", {123, 25, 15, 8}),
      label("", {77, 41, 17, 8}, true, 1019),
      label("", {118, 40, 15, 8}, true, 1021),
      label("", {77, 55, 17, 8}, true, 1020),
      label("", {118, 54, 15, 8}, true, 1022),
  };
  return t;
}

// Grown below the Cancel button by a progress bar and a status line, so
// that a long job can be followed.
DialogTemplate printing_139() {
  DialogTemplate t = make_template(139, "印刷", POPUP, 150, 84);
  t.controls = {
      button(2, "キャンセル(&C)", {7, 25, 56, 21}),
      label("印刷中．．．", {7, 7, 35, 8}, false, 1015),
      {1030, K::progress_bar, "印刷の進み具合", {7, 53, 136, 10}, ES_NONE, {}, 0},
      label("", {7, 68, 136, 9}, false, 1031),
  };
  return t;
}

DialogTemplate copies_140() {
  DialogTemplate t = make_template(140, "印刷", POPUP, 115, 69);
  t.controls = {
      label("印刷部数を入力してください。", {13, 7, 87, 11}),
      edit(1016, {37, 22, 31, 12}, ES_STANDARD | ES_DIGITS_ONLY),
      button(1, "印刷(&P)", {7, 44, 46, 18}, true),
      button(2, "キャンセル(&C)", {61, 44, 46, 18}),
  };
  return t;
}

DialogTemplate pitch_142() {
  DialogTemplate t = make_template(142, "ピッチ指定１点字印刷", POPUP, 155, 59);
  t.controls = {
      label("Ｘ軸", {7, 10, 12, 8}),
      edit(1017, {22, 7, 42, 14}, ES_STANDARD | ES_DIGITS_ONLY),
      label("ピッチ", {67, 10, 18, 8}),
      label("Ｙ軸", {7, 34, 12, 8}),
      edit(1018, {22, 31, 42, 14}, ES_STANDARD | ES_DIGITS_ONLY),
      label("ピッチ", {67, 34, 18, 8}),
      button(1, "OK", {98, 7, 50, 14}, true),
      button(2, "ｷｬﾝｾﾙ", {98, 24, 50, 14}),
  };
  return t;
}

const std::map<int, DialogTemplate>& templates() {
  static const std::map<int, DialogTemplate> all = [] {
    std::map<int, DialogTemplate> m;
    for (DialogTemplate t : {about_100(), main_102(), dot_spacing_130(), port_132(), fit_warning_138(),
                             printing_139(), copies_140(), pitch_142()})
      m.emplace(t.id, std::move(t));
    return m;
  }();
  return all;
}

const MenuTemplate MENU_129 = {
    MENU_MAIN,
    {
        {"設定(&S)", 0,
         {{"点間隔等の設定(&T)", 32773, {}}, {"ピッチ指定１点字印刷(&I)", 32779, {}}, {"終了(&X)", 32777, {}}}},
        {"印刷(&P)", 32778, {}},
        {"周辺機器設定(&K)", 32774, {}},
        {"ヘルプ(&H)", 0, {{"バージョン(&A)", 32772, {}}}},
    },
};

const IconTemplate ICON_146 = {ICON_BIG, {
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

const IconTemplate ICON_147 = {ICON_SMALL, {
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
  if (id != MENU_MAIN) throw std::out_of_range("no such menu");
  return MENU_129;
}

const IconTemplate& icon_template(int id) {
  if (id == ICON_BIG) return ICON_146;
  if (id == ICON_SMALL) return ICON_147;
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
