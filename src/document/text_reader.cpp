#include "document/text_reader.h"

#include <array>
#include <cstdio>

namespace tenji {

namespace {

std::string describe_code_point(long cp) {
  char buf[96];
  if (cp < 0) return "UTF-8として読めない文字です";
  if (cp >= 0x2840 && cp <= 0x28FF)
    std::snprintf(buf, sizeof buf, "U+%04lX は7の点か8の点を使っています", cp);
  else if (cp < 0x20 || cp == 0x7F)
    std::snprintf(buf, sizeof buf, "制御文字 0x%02lX は使えません", cp);
  else
    std::snprintf(buf, sizeof buf, "U+%04lX は6点の点字でも空白でもありません", cp);
  return buf;
}

// How many bytes a UTF-8 character with this first byte has; 1 for a byte
// that cannot begin one (it is then refused alone).
std::size_t utf8_length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

TextReader::TextReader(TextForm form, BrailleDocument& document) : form_(form), doc_(document) {}

bool TextReader::fail(std::string message, int column) {
  failed_ = true;
  error_ = {line_no_, column, std::move(message)};
  return false;
}

bool TextReader::emit_line() {
  const bool stored = doc_.append_cells(std::string_view(line_, line_length_)) != 0;
  line_length_ = 0;
  line_open_ = false;
  if (!stored) {
    failed_ = true;
    error_ = {line_no_, 0, "メモリが足りません"};
    error_.out_of_memory = true;
  }
  return stored;
}

bool TextReader::take_cell(unsigned char cell) {
  skip_lf_ = after_ff_ = false;
  line_open_ = true;
  if (line_length_ == BRAILLE_LINE_MAX)
    return fail("行が長すぎます（1行は" + std::to_string(BRAILLE_LINE_MAX) + "マスまでです）", column_);
  line_[line_length_++] = static_cast<char>(cell);
  return true;
}

// The common case, a run of plain cells: BRF characters, or U+2800-U+283F
// and spaces in Unicode text. Its length in bytes.
std::size_t TextReader::cell_run(std::string_view bytes) const {
  if (ctrl_z_) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  if (form_ == TextForm::brf) {
    while (i < bytes.size() && b[i] >= 0x20 && b[i] <= 0x7E) ++i;
    return i;
  }
  for (;;) {
    if (i < bytes.size() && b[i] == ' ')
      ++i;
    else if (i + 2 < bytes.size() && b[i] == 0xE2 && b[i + 1] == 0xA0 && (b[i + 2] & 0xC0) == 0x80)
      i += 3;
    else
      return i;
  }
}

bool TextReader::take_run(std::string_view run) {
  static const auto brf_cells = [] {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = static_cast<char>(brf_cell(static_cast<unsigned char>(c)));
    return t;
  }();
  skip_lf_ = after_ff_ = false;
  line_open_ = true;
  const auto* b = reinterpret_cast<const unsigned char*>(run.data());
  char* out = line_ + line_length_;
  char* const full = line_ + BRAILLE_LINE_MAX;
  std::size_t i = 0;
  while (i < run.size() && out < full) {
    if (form_ == TextForm::brf) {
      *out++ = brf_cells[b[i++]];
    } else if (b[i] == ' ') {
      *out++ = '\xA0';
      ++i;
    } else {
      *out++ = static_cast<char>(0xA0 + (b[i + 2] & 0x3F));
      i += 3;
    }
  }
  const std::size_t taken = static_cast<std::size_t>(out - (line_ + line_length_));
  line_length_ += taken;
  column_ += static_cast<int>(taken);
  if (i < run.size()) {
    ++column_;
    return fail("行が長すぎます（1行は" + std::to_string(BRAILLE_LINE_MAX) + "マスまでです）", column_);
  }
  return true;
}

bool TextReader::end_line_cr() {
  const bool belongs_to_break = after_ff_;
  after_ff_ = false;
  skip_lf_ = true;
  if (!belongs_to_break && !emit_line()) return false;
  ++line_no_;
  column_ = 0;
  return true;
}

bool TextReader::end_line_lf() {
  if (skip_lf_) {  // the second half of CR LF
    skip_lf_ = false;
    return true;
  }
  const bool belongs_to_break = after_ff_;
  after_ff_ = false;
  if (!belongs_to_break && !emit_line()) return false;
  ++line_no_;
  column_ = 0;
  return true;
}

bool TextReader::form_feed() {
  if (line_open_ && !emit_line()) return false;  // text before a form feed ends its line
  doc_.break_page();
  skip_lf_ = false;
  after_ff_ = true;
  return true;
}

// One character of the file: a line end, a page break, a cell, or a fault.
bool TextReader::character(long cp, std::string_view raw) {
  if (ctrl_z_) return fail(describe_code_point(0x1A) + "（Ctrl-Z はファイルの最後にだけ置けます）", column_);
  if (cp == '\r') return end_line_cr();
  if (cp == '\n') return end_line_lf();
  ++column_;
  if (cp == '\f') return form_feed();
  if (cp == 0x1A) {
    ctrl_z_ = true;  // fine as the file's last byte
    return true;
  }
  if (form_ == TextForm::brf) {
    const int cell = brf_cell(static_cast<unsigned char>(raw.front()));
    if (cell >= 0 && raw.size() == 1) return take_cell(static_cast<unsigned char>(cell));
    non_ascii_ = static_cast<unsigned char>(raw.front()) >= 0x80;
    char what[64];
    std::snprintf(what, sizeof what, "BRFにない文字 0x%02X です", static_cast<unsigned char>(raw.front()));
    return fail(what, column_);
  }
  if (cp == ' ') return take_cell(0xA0);
  if (cp >= 0x2800 && cp <= 0x283F) return take_cell(static_cast<unsigned char>(0xA0 + (cp - 0x2800)));
  return fail(describe_code_point(cp), column_);
}

// The UTF-8 character at `i` (Unicode text); a character cut by the end of
// the piece waits for the next one.
bool TextReader::utf8(std::string_view bytes, std::size_t& i) {
  const std::size_t n = utf8_length(static_cast<unsigned char>(bytes[i]));
  if (i + n > bytes.size()) {
    partial_.assign(bytes.substr(i));
    i = bytes.size();
    return true;
  }
  const std::string_view raw = bytes.substr(i, n);
  std::size_t at = 0;
  long cp = next_code_point(raw, at);
  if (at != n) cp = -1;  // a sequence cut short by a byte that does not continue it
  i += n;
  return character(cp, raw);
}

// A UTF-8 byte-order mark at the very start is no character; it may come
// in pieces like anything else.
bool TextReader::feed(std::string_view bytes) {
  if (failed_) return false;
  static constexpr std::string_view BOM = "\xEF\xBB\xBF";
  while (!started_ && !bytes.empty()) {
    if (form_ == TextForm::unicode && bytes.front() == BOM[bom_matched_]) {
      bytes.remove_prefix(1);
      started_ = ++bom_matched_ == BOM.size();
      continue;
    }
    // Not a mark after all: what looked like one is text.
    started_ = true;
    if (!feed_text(BOM.substr(0, bom_matched_))) return false;
  }
  return feed_text(bytes);
}

bool TextReader::feed_text(std::string_view bytes) {
  std::size_t i = 0;
  if (!partial_.empty()) {
    // Complete the character the last piece cut.
    const std::size_t need = utf8_length(static_cast<unsigned char>(partial_[0])) - partial_.size();
    const std::size_t take = std::min(need, bytes.size());
    partial_.append(bytes.substr(0, take));
    i = take;
    if (partial_.size() < utf8_length(static_cast<unsigned char>(partial_[0]))) return true;
    const std::string whole = std::move(partial_);
    partial_.clear();
    std::size_t at = 0;
    if (!utf8(whole, at)) return false;
  }
  while (i < bytes.size()) {
    if (const std::size_t run = cell_run(bytes.substr(i)); run > 0) {
      if (!take_run(bytes.substr(i, run))) return false;
      i += run;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80 || form_ == TextForm::brf) {
      ++i;
      if (!character(c, bytes.substr(i - 1, 1))) return false;
    } else if (c == 0xE2 && i + 2 < bytes.size() && (static_cast<unsigned char>(bytes[i + 1]) & 0xFC) == 0xA0 &&
               (static_cast<unsigned char>(bytes[i + 2]) & 0xC0) == 0x80) {
      // U+2800-U+28FF, the common case, without the general decoder.
      const long cp = 0x2800 + ((static_cast<unsigned char>(bytes[i + 1]) & 0x03) << 6) +
                      (static_cast<unsigned char>(bytes[i + 2]) & 0x3F);
      i += 3;
      if (!character(cp, bytes.substr(i - 3, 3))) return false;
    } else if (!utf8(bytes, i)) {
      return false;
    }
  }
  return true;
}

bool TextReader::finish() {
  if (failed_) return false;
  if (!started_ && !feed_text(std::string_view("\xEF\xBB\xBF").substr(0, bom_matched_))) return false;
  if (!partial_.empty()) {
    ++column_;
    return fail(describe_code_point(-1), column_);
  }
  if (line_open_ && !emit_line()) return false;
  // The last page break ends the last page; empty lines after it make no page.
  const auto& breaks = doc_.page_breaks();
  if (!breaks.empty()) {
    const int last = breaks.back();
    bool blank = true;
    for (int n = last; n <= doc_.line_count() && blank; ++n) blank = doc_.cells(n).empty();
    if (blank) {
      if (last <= doc_.line_count())
        doc_.truncate(last);
      else
        doc_.drop_last_page_break();
    }
  }
  return true;
}

namespace {

bool parse_whole(TextForm form, std::string_view bytes, TextDocument& out, BrailleTextError& error) {
  BrailleDocument doc;
  TextReader reader(form, doc);
  if (!reader.feed(bytes) || !reader.finish()) {
    error = reader.error();
    out = {};
    return false;
  }
  out = text_document_of(doc);
  return true;
}

}  // namespace

bool parse_braille_text(std::string_view utf8, TextDocument& out, BrailleTextError& error) {
  return parse_whole(TextForm::unicode, utf8, out, error);
}

bool parse_brf(std::string_view bytes, TextDocument& out, BrailleTextError& error) {
  return parse_whole(TextForm::brf, bytes, out, error);
}

}  // namespace tenji
