// Unicode Braille text (U+2800-U+283F, six dots) <-> cell bytes (0xA0-0xDF).
// Both number dots 1-6 as bits 0-5, so a cell is 0xA0 + (code point - 0x2800).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/braille_document.h"

namespace tenji {

struct BrailleTextError {
  int line = 0;    // counting from 1
  int column = 0;  // in characters, counting from 1
  std::string message;
  bool out_of_memory = false;  // the document could not hold another line
};

// A document as lines of cell bytes, with the source's page breaks: the
// (0-based) index of the line each page after the first begins with.
struct TextDocument {
  std::vector<std::string> lines;
  std::vector<int> page_breaks;
};

// The cell byte of a BRF character, or -1 for a character BRF does not have.
// The lower-case forms (` a-z { | } ~, 0x60-0x7E) are the cells of their
// upper-case ones (@ A-Z [ \ ] ^).
int brf_cell(unsigned char c);

// The character of `text` at `i` as a code point, with `i` moved past it;
// -1 for bytes that are not UTF-8.
long next_code_point(std::string_view text, std::size_t& i);

// The lines and page breaks of a document, as a writer takes them.
TextDocument text_document_of(const BrailleDocument& document);

// The cells of one line as UTF-8 Braille patterns; bytes outside the cell
// range show as U+FFFD.
std::string braille_text_from_cells(std::string_view cells);

}  // namespace tenji
