// Unicode Braille text (U+2800-U+283F, six dots) <-> cell bytes (0xA0-0xDF).
// Both number dots 1-6 as bits 0-5, so a cell is 0xA0 + (code point - 0x2800).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tenji {

struct BrailleTextError {
  int line = 0;    // counting from 1
  int column = 0;  // in characters, counting from 1
  std::string message;
};

// Splits UTF-8 text into lines (LF or CRLF; a final line break adds no line)
// and turns every character into a cell byte; a space is the empty cell.
// Returns false and fills `error` for anything else.
bool cells_from_braille_text(std::string_view utf8, std::vector<std::string>& lines,
                             BrailleTextError& error);

// The cells of one line as UTF-8 Braille patterns; bytes outside the cell
// range show as U+FFFD.
std::string braille_text_from_cells(std::string_view cells);

}  // namespace tenji
