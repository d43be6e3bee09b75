// The settings page's form: the dot geometry, dot size, paper, print area
// and line speed, read and checked with the same rules and messages as the
// desktop dialog, the spacings stored as the whole device steps the
// embosser produces. Free of PAPPL: the page's handler passes the fields in
// and sends the HTML out.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/print_settings.h"

namespace tenji::server {

using Form = std::map<std::string, std::string>;

struct FormRead {
  int failed_check = 0;  // the first failed check (1-9), 10 for the speed; 0 when all pass
  std::string message;   // its message; empty when all pass
};

// The typed fields (named after the settings keys; full-width digits read
// as ASCII) over `settings`: the spacings become whole steps, CPL and LPP
// follow. `settings` is changed only when every check passes.
FormRead read_settings_form(const Form& form, PrintSettings& settings);

// What the page shows live while a field is typed in: the whole-step
// values and the capacity, or the first failed check's message, as JSON.
std::string live_values_json(const Form& form, const PrintSettings& saved);

struct PortLine {
  std::string printer;      // the printer's name
  std::string description;  // "COM1 (/dev/ttyUSB0、USB シリアル …)"
};

struct PageState {
  PrintSettings settings;
  std::string settings_path;
  std::string csrf_token;
  bool may_change = true;    // false: reached from another host without the administrator
  std::string message;       // after a save or an upload
  bool message_is_error = false;
  std::vector<PortLine> ports;
  Form typed;  // after a refused save: what was typed, shown again
};

// The whole page, in Japanese, with PAPPL's style sheet.
std::string settings_page_html(const PageState& page);

// HTML text: & < > " ' escaped.
std::string html_escaped(const std::string& text);

}  // namespace tenji::server
