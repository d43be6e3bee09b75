// Writing a document with its pages as BRF, PEF or Unicode Braille text,
// which the readers read back to the same cells and pages.
#pragma once

#include <string>

#include "document/braille_text.h"

namespace tenji {

std::string encode_brf(const TextDocument& doc);           // CR LF lines, form feeds
std::string encode_braille_text(const TextDocument& doc);  // LF lines, form feeds
// One volume of one section; `cols` and `rows` as the file declares them.
std::string encode_pef(const TextDocument& doc, int cols, int rows);

}  // namespace tenji
