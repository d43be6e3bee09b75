// PEF 1.0, the Portable Embosser Format of Braille translation tools: XML in
// the namespace http://www.daisy.org/ns/2008/pef, pef/body/volume/section/
// page/row, each row's text Unicode Braille. Only six-dot cells are taken.
#pragma once

#include <string>
#include <string_view>

#include "document/braille_text.h"

namespace tenji {

inline constexpr const char* PEF_NAMESPACE = "http://www.daisy.org/ns/2008/pef";

// The layout the file was made for (of its first volume), to be compared
// with the settings.
struct PefLayout {
  int cols = 0, rows = 0, rowgap = 0;
  bool duplex = false;
};

// Every page of every section and volume, in order. False with `error`
// naming the element (and the column in a row) of the first fault.
bool parse_pef(std::string_view xml, TextDocument& out, PefLayout& layout, std::string& error);

}  // namespace tenji
