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

// A document as lines of cell bytes, with the source's page breaks: the
// (0-based) index of the line each page after the first begins with.
struct TextDocument {
  std::vector<std::string> lines;
  std::vector<int> page_breaks;
};

// Splits UTF-8 text into lines (LF or CRLF; a final line break adds no line)
// and turns every character into a cell byte; a space is the empty cell. A
// form feed begins a new page; a UTF-8 byte-order mark is skipped. Returns
// false and fills `error` for anything else.
bool parse_braille_text(std::string_view utf8, TextDocument& out, BrailleTextError& error);

// Text lines the same way for North American Braille ASCII (BRF): one
// character of 0x20-0x5F a cell, lower-case letters as upper case, lines by
// CR LF or LF, form feed a page break.
bool parse_brf(std::string_view bytes, TextDocument& out, BrailleTextError& error);

// The cell byte of a BRF character, or -1 for a character BRF does not have.
int brf_cell(unsigned char c);

// The character of `text` at `i` as a code point, with `i` moved past it;
// -1 for bytes that are not UTF-8.
long next_code_point(std::string_view text, std::size_t& i);

// Page breaks at or after the end of the lines begin no page: they go.
void drop_trailing_page_breaks(TextDocument& doc);

// The cells of one line as UTF-8 Braille patterns; bytes outside the cell
// range show as U+FFFD.
std::string braille_text_from_cells(std::string_view cells);

}  // namespace tenji
