#include "printer_app/settings_form.h"

#include "config/layout_rules.h"
#include "config/value_text.h"

namespace tenji::server {

namespace {

struct NumberField {
  const char* key;
  const char* label;
  double PrintSettings::*value;
  int check;      // its check's number
  double step;    // 0: stored as typed (the print area)
  int decimals;
  int width;      // what the dialog's field takes
};

constexpr NumberField SPACINGS[] = {
    {"TEN_HEIGHT", "縦点間", &PrintSettings::TEN_HEIGHT, 1, VERTICAL_STEP_MM, 2, 4},
    {"TEN_WIDTH", "横点間", &PrintSettings::TEN_WIDTH, 2, HORIZONTAL_STEP_MM, 2, 4},
    {"MASU_BETWEEN", "マス間", &PrintSettings::MASU_BETWEEN, 3, HORIZONTAL_STEP_MM, 2, 4},
    {"GYO_BETWEEN", "行間", &PrintSettings::GYO_BETWEEN, 4, VERTICAL_STEP_MM, 2, 4},
};
constexpr NumberField AREA[] = {
    {"START_X", "Ｘ座標開始点", &PrintSettings::START_X, 5, 0, 1, 5},
    {"START_Y", "Ｙ座標開始点", &PrintSettings::START_Y, 6, 0, 1, 5},
    {"END_X", "Ｘ座標終了点", &PrintSettings::END_X, 7, 0, 1, 5},
    {"END_Y", "Ｙ座標終了点", &PrintSettings::END_Y, 8, 0, 1, 5},
};
constexpr const char* DOT_KINDS[] = {"小", "中", "大"};
constexpr const char* PAPERS[] = {"Ａ４", "Ｂ５"};
constexpr const char* SPEEDS[] = {"1200", "2400", "4800", "9600"};

// A field as typed, cut to what the dialog's field takes; a missing field
// keeps the saved value.
std::string typed(const Form& form, const NumberField& f, const PrintSettings& saved) {
  const auto it = form.find(f.key);
  if (it == form.end()) return fit_number(saved.*f.value, f.decimals);
  return it->second;
}

double typed_value(const Form& form, const NumberField& f, const PrintSettings& saved) {
  std::string text = ascii_number_text(typed(form, f, saved));
  if (text.size() > static_cast<std::size_t>(f.width)) text.resize(static_cast<std::size_t>(f.width));
  return text_to_real(text);
}

// A list's choice: its index, or -1 for anything else.
int choice(const Form& form, const char* key, int count, int saved) {
  const auto it = form.find(key);
  if (it == form.end()) return saved;
  const std::string text = ascii_number_text(it->second);
  if (text.size() != 1 || text[0] < '0' || text[0] >= '0' + count) return -1;
  return text[0] - '0';
}

// The value the embosser produces, as the dialog shows and stores it.
double whole_steps(double typed_mm, double step) { return text_to_real(fit_number(quantise(typed_mm, step), 2)); }

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string option_list(const char* const* names, int count, int selected) {
  std::string out;
  for (int i = 0; i < count; ++i)
    out += "<option value=\"" + std::to_string(i) + "\"" + (i == selected ? " selected" : "") + ">" + names[i] +
           "</option>";
  return out;
}

std::string range_text(double lo, double hi, int decimals) {
  return format_real(lo, decimals) + "〜" + format_real(hi, decimals) + " mm";
}

}  // namespace

FormRead read_settings_form(const Form& form, PrintSettings& settings) {
  PrintSettings s = settings;
  LayoutFields f;
  f.ten_height = typed_value(form, SPACINGS[0], s);
  f.ten_width = typed_value(form, SPACINGS[1], s);
  f.masu_between = typed_value(form, SPACINGS[2], s);
  f.gyo_between = typed_value(form, SPACINGS[3], s);
  f.start_x = typed_value(form, AREA[0], s);
  f.start_y = typed_value(form, AREA[1], s);
  f.end_x = typed_value(form, AREA[2], s);
  f.end_y = typed_value(form, AREA[3], s);
  f.paper_selection = choice(form, "PAPER_SIZE", 2, s.PAPER_SIZE);
  FormRead r;
  if ((r.failed_check = first_failed_check(f)) != 0) {
    r.message = check_message(r.failed_check);
    return r;
  }
  const int kind = choice(form, "TEN_KIND", 3, s.TEN_KIND);
  const int speed = choice(form, "COM_SPEED", 4, s.COM_SPEED);
  if (kind < 0 || speed < 0) {
    r.failed_check = 10;
    r.message = kind < 0 ? "点の種類を選んでください。" : "通信速度を選んでください。";
    return r;
  }
  for (const NumberField& n : SPACINGS) s.*n.value = whole_steps(typed_value(form, n, settings), n.step);
  for (const NumberField& n : AREA) s.*n.value = typed_value(form, n, settings);
  s.PAPER_SIZE = f.paper_selection;
  s.TEN_KIND = kind;
  s.COM_SPEED = speed;
  compute_capacity(s);
  settings = s;
  return r;
}

std::string live_values_json(const Form& form, const PrintSettings& saved) {
  std::string out = "{\"steps\": {";
  for (const NumberField& n : SPACINGS) {
    if (n.check > 1) out += ", ";
    out += json_string(n.key) + ": " + json_string(fit_number(quantise(typed_value(form, n, saved), n.step), 2));
  }
  out += "}, ";
  PrintSettings s = saved;
  const FormRead r = read_settings_form(form, s);
  if (r.failed_check != 0) return out + "\"capacity\": \"—\", \"message\": " + json_string(r.message) + "}";
  return out + "\"capacity\": " + json_string(std::to_string(s.CPL) + "マス × " + std::to_string(s.LPP) + "行") +
         ", \"message\": \"\"}";
}

std::string html_escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string settings_page_html(const PageState& page) {
  const PrintSettings& s = page.settings;
  auto shown = [&](const NumberField& n) {
    const auto it = page.typed.find(n.key);
    return html_escaped(it != page.typed.end() ? it->second : fit_number(s.*n.value, n.decimals));
  };
  const std::string disabled = page.may_change ? "" : " disabled";
  std::string h =
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>点字の設定 - tenjiprint-server</title>\n"
      "<link rel=\"stylesheet\" href=\"/style.css\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0\">\n"
      "</head>\n<body>\n<header class=\"header\"><nav class=\"row\" aria-label=\"サイト\"><div class=\"col-12 nav\">"
      "<a class=\"btn\" href=\"/\">プリンターの一覧</a> <a class=\"btn\" href=\"/tenjiprint\" aria-current=\"page\">点字の設定</a>"
      "</div></nav></header>\n<main class=\"content\"><div class=\"row\"><div class=\"col-12\">\n<h1 class=\"title\">点字の設定</h1>\n";
  if (!page.message.empty())
    h += std::string("<p id=\"tenji-message\" role=\"") + (page.message_is_error ? "alert" : "status") + "\">" +
         html_escaped(page.message) + "</p>\n";
  if (!page.may_change)
    h += "<p>ほかのコンピューターから設定を変えるには、管理者としてログインしてください。</p>\n";
  h += "<form action=\"/tenjiprint\" method=\"POST\" id=\"tenji-form\">\n<input type=\"hidden\" name=\"session\" value=\"" +
       html_escaped(page.csrf_token) + "\">\n<input type=\"hidden\" name=\"action\" value=\"save\">\n";
  h += "<fieldset><legend>点の間隔（実印刷設定値は点字プリンターが打てる値です）</legend>\n<table class=\"form\">\n";
  for (const NumberField& n : SPACINGS) {
    const ValueRange range = spacing_range(n.check);
    const std::string key = n.key;
    h += "<tr><th><label for=\"" + key + "\">" + n.label + "</label></th><td><input type=\"text\" inputmode=\"decimal\" id=\"" +
         key + "\" name=\"" + key + "\" maxlength=\"" + std::to_string(n.width) + "\" size=\"6\" value=\"" +
         shown(n) + "\" aria-describedby=\"" + key + "-range " + key + "-step\"" + disabled +
         "> mm <span id=\"" + key + "-range\">（" + range_text(range.lo, range.hi, 2) + "）</span> 実印刷設定値 <output id=\"" +
         key + "-step\" for=\"" + key + "\">" + fit_number(quantise(s.*n.value, n.step), 2) + "</output> mm</td></tr>\n";
  }
  h += "<tr><th><label for=\"TEN_KIND\">点の種類</label></th><td><select id=\"TEN_KIND\" name=\"TEN_KIND\"" + disabled + ">" +
       option_list(DOT_KINDS, 3, s.TEN_KIND) + "</select></td></tr>\n</table></fieldset>\n";
  h += "<fieldset><legend>用紙と印刷領域</legend>\n<table class=\"form\">\n";
  h += "<tr><th><label for=\"PAPER_SIZE\">用紙サイズ</label></th><td><select id=\"PAPER_SIZE\" name=\"PAPER_SIZE\"" + disabled +
       ">" + option_list(PAPERS, 2, s.PAPER_SIZE) + "</select></td></tr>\n";
  const AreaLimits limits = area_limits(s.PAPER_SIZE);
  for (const NumberField& n : AREA) {
    const std::string key = n.key;
    const double max = n.check == 5 || n.check == 7 ? limits.max_x : limits.max_y;
    h += "<tr><th><label for=\"" + key + "\">" + n.label + "</label></th><td><input type=\"text\" inputmode=\"decimal\" id=\"" +
         key + "\" name=\"" + key + "\" maxlength=\"" + std::to_string(n.width) + "\" size=\"6\" value=\"" +
         shown(n) + "\" aria-describedby=\"" + key + "-range\"" + disabled + "> mm <span id=\"" + key +
         "-range\">（" + range_text(0, max, 1) + "）</span></td></tr>\n";
  }
  h += "<tr><th>印刷できる量</th><td><output id=\"capacity\" aria-live=\"polite\">" + std::to_string(s.CPL) + "マス × " +
       std::to_string(s.LPP) + "行</output> <span id=\"live-message\" aria-live=\"polite\"></span></td></tr>\n";
  h += "</table></fieldset>\n<fieldset><legend>点字プリンターとの通信</legend>\n<table class=\"form\">\n";
  for (const PortLine& p : page.ports)
    h += "<tr><th>" + html_escaped(p.printer) + " のポート</th><td>" + html_escaped(p.description) + "</td></tr>\n";
  h += "<tr><th><label for=\"COM_SPEED\">通信速度</label></th><td><select id=\"COM_SPEED\" name=\"COM_SPEED\"" + disabled + ">" +
       option_list(SPEEDS, 4, s.COM_SPEED) + "</select> bit/s</td></tr>\n</table></fieldset>\n";
  if (page.may_change) h += "<p><input type=\"submit\" value=\"保存する\"></p>\n";
  h += "</form>\n";
  h += "<h2 class=\"title\">設定ファイル（.brs）</h2>\n<p><a href=\"/tenjiprint/tenjiprint.brs\" download>いまの設定を .brs "
       "ファイルとして保存する</a></p>\n";
  if (page.may_change)
    h += "<form action=\"/tenjiprint\" method=\"POST\" enctype=\"multipart/form-data\" id=\"tenji-upload\">\n<input "
         "type=\"hidden\" name=\"session\" value=\"" + html_escaped(page.csrf_token) +
         "\">\n<input type=\"hidden\" name=\"action\" value=\"upload\">\n<p><label for=\"brs\">読み込む .brs "
         "ファイル</label> <input type=\"file\" id=\"brs\" name=\"brs\" accept=\".brs\"> <input type=\"submit\" "
         "value=\"読み込んで保存する\"></p>\n</form>\n";
  h += "<p>設定ファイル: " + html_escaped(page.settings_path) + "</p>\n";
  h += "<script>\n"
       "(function () {\n"
       "  var form = document.getElementById('tenji-form');\n"
       "  function update() {\n"
       "    var query = new URLSearchParams(new FormData(form)).toString();\n"
       "    fetch('/tenjiprint/live?' + query).then(function (r) { return r.json(); }).then(function (v) {\n"
       "      Object.keys(v.steps).forEach(function (k) { document.getElementById(k + '-step').value = v.steps[k]; });\n"
       "      document.getElementById('capacity').value = v.capacity;\n"
       "      document.getElementById('live-message').textContent = v.message;\n"
       "    });\n"
       "  }\n"
       "  form.addEventListener('input', update);\n"
       "  form.addEventListener('change', update);\n"
       "})();\n</script>\n</div></div></main>\n</body>\n</html>\n";
  return h;
}

}  // namespace tenji::server
