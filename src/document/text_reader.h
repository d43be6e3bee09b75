// The text forms of a Braille document, read as the file comes in pieces:
// BRF (North American Braille ASCII) and Unicode Braille text (UTF-8 of
// U+2800-U+283F, a space the empty cell).
//
// Lines end with CR LF, LF or CR. A form feed ends the page (and the line
// it stands in); the line end right after it belongs to the page break, so
// a form feed on a line of its own starts the next page at its first line.
// The last page break of a file ends its last page: no page follows it, nor
// a page of nothing but empty lines. A Ctrl-Z is allowed as the very last
// byte; any other control character is refused.
#pragma once

#include <string>
#include <string_view>

#include "document/braille_document.h"
#include "document/braille_text.h"

namespace tenji {

enum class TextForm { brf, unicode };

class TextReader {
 public:
  TextReader(TextForm form, BrailleDocument& document);

  // False at the first fault; error() says where and what.
  bool feed(std::string_view bytes);
  // At the end of the file.
  bool finish();

  const BrailleTextError& error() const { return error_; }
  // The fault was a byte of 0x80 or more in BRF: the file may be Unicode text.
  bool met_non_ascii() const { return non_ascii_; }

 private:
  bool feed_text(std::string_view bytes);
  bool character(long code_point, std::string_view raw);
  bool take_cell(unsigned char cell);
  std::size_t cell_run(std::string_view bytes) const;
  bool take_run(std::string_view run);
  bool end_line_cr();
  bool end_line_lf();
  bool form_feed();
  bool emit_line();
  bool fail(std::string message, int column);
  bool utf8(std::string_view bytes, std::size_t& i);

  TextForm form_;
  BrailleDocument& doc_;
  BrailleTextError error_;
  char line_[BRAILLE_LINE_MAX];  // the cells of the line being read...
  std::size_t line_length_ = 0;  // ...so far
  std::string partial_;      // a UTF-8 character cut by the end of a piece
  bool line_open_ = false;   // a character since the last line end or page break
  bool skip_lf_ = false;     // the last byte was a CR: an LF now completes its line end
  bool after_ff_ = false;    // a line end now belongs to the page break before it
  bool ctrl_z_ = false;      // a Ctrl-Z was read: nothing may follow it
  bool started_ = false;     // past the place of a UTF-8 byte-order mark
  std::size_t bom_matched_ = 0;  // bytes of one seen so far
  bool failed_ = false;
  bool non_ascii_ = false;
  int line_no_ = 1, column_ = 0;  // of the last character read
};

// A whole text at once (tools and tests): Unicode Braille text, or BRF.
// False with `error` at the first fault.
bool parse_braille_text(std::string_view utf8, TextDocument& out, BrailleTextError& error);
bool parse_brf(std::string_view bytes, TextDocument& out, BrailleTextError& error);

}  // namespace tenji
