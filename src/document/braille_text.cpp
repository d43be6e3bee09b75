#include "document/braille_text.h"

#include <cstdio>

namespace tenji {

namespace {

std::string describe(long cp) {
  char buf[96];
  if (cp < 0) return "UTF-8として読めない文字です";
  std::snprintf(buf, sizeof buf, "U+%04lX は6点の点字でも空白でもありません", cp);
  return buf;
}

// Text split at line ends (LF, or CR LF) and form feeds; `cell` turns the
// characters of a line into cells, or says what is wrong at a column.
template <typename Cells>
bool split_pages(std::string_view text, TextDocument& out, BrailleTextError& error, Cells cell_of_line) {
  out = {};
  int line_no = 1;
  std::string cells;
  bool line_open = false;
  auto end_line = [&] {
    out.lines.push_back(std::move(cells));
    cells.clear();
    line_open = false;
  };
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find_first_of("\n\f", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view piece = text.substr(start, end - start);
    const char stop = end < text.size() ? text[end] : '\0';
    if (stop == '\n' && !piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
    if (!piece.empty()) {
      std::string more;
      if (!cell_of_line(piece, line_no, more, error)) {
        out = {};
        return false;
      }
      cells += more;
      line_open = true;
    }
    if (stop == '\n') {
      end_line();
      ++line_no;
    } else if (stop == '\f') {
      if (line_open) end_line();  // text before a form feed ends its line
      out.page_breaks.push_back(static_cast<int>(out.lines.size()));
    } else {
      if (line_open) end_line();
      break;
    }
    start = end + 1;
  }
  drop_trailing_page_breaks(out);
  return true;
}

// North American Braille ASCII: the cells of 0x20 to 0x5F, dots 1-6 as bits 0-5.
constexpr unsigned char BRF_DOTS[64] = {
    0x00, 0x2E, 0x10, 0x3C, 0x2B, 0x29, 0x2F, 0x04, 0x37, 0x3E, 0x21, 0x2C, 0x20, 0x24, 0x28, 0x0C,  //  !"#$%&'()*+,-./
    0x34, 0x02, 0x06, 0x12, 0x32, 0x22, 0x16, 0x36, 0x26, 0x14, 0x31, 0x30, 0x23, 0x3F, 0x1C, 0x39,  // 0123456789:;<=>?
    0x08, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D, 0x1D, 0x15,  // @ABCDEFGHIJKLMNO
    0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35, 0x2A, 0x33, 0x3B, 0x18, 0x38,  // PQRSTUVWXYZ[\]^_
};

}  // namespace

long next_code_point(std::string_view s, std::size_t& i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  int extra;
  long cp;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++i;
    return -1;
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) {
    i = s.size();
    return -1;
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char c = b(i + static_cast<std::size_t>(k));
    if ((c & 0xC0) != 0x80) {
      i += static_cast<std::size_t>(k);
      return -1;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  i += static_cast<std::size_t>(extra) + 1;
  static const long min_for[] = {0, 0x80, 0x800, 0x10000};
  if (cp < min_for[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

void drop_trailing_page_breaks(TextDocument& doc) {
  while (!doc.page_breaks.empty() && doc.page_breaks.back() >= static_cast<int>(doc.lines.size()))
    doc.page_breaks.pop_back();
}

int brf_cell(unsigned char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c < 0x20 || c > 0x5F) return -1;
  return 0xA0 + BRF_DOTS[c - 0x20];
}

bool parse_braille_text(std::string_view utf8, TextDocument& out, BrailleTextError& error) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  return split_pages(utf8, out, error, [](std::string_view text, int line, std::string& cells, BrailleTextError& e) {
    int column = 1;
    for (std::size_t i = 0; i < text.size(); ++column) {
      const long cp = next_code_point(text, i);
      if (cp == ' ') {
        cells += '\xA0';
      } else if (cp >= 0x2800 && cp <= 0x283F) {
        cells += static_cast<char>(0xA0 + (cp - 0x2800));
      } else {
        e = {line, column, describe(cp)};
        return false;
      }
    }
    return true;
  });
}

bool parse_brf(std::string_view bytes, TextDocument& out, BrailleTextError& error) {
  return split_pages(bytes, out, error, [](std::string_view text, int line, std::string& cells, BrailleTextError& e) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const int cell = brf_cell(static_cast<unsigned char>(text[i]));
      if (cell < 0) {
        char what[64];
        std::snprintf(what, sizeof what, "BRFにない文字 0x%02X です", static_cast<unsigned char>(text[i]));
        e = {line, static_cast<int>(i) + 1, what};
        return false;
      }
      cells += static_cast<char>(cell);
    }
    return true;
  });
}

std::string braille_text_from_cells(std::string_view cells) {
  std::string out;
  for (unsigned char c : cells) {
    long cp = 0xFFFD;
    if (c >= 0xA0 && c <= 0xDF) cp = 0x2800 + (c - 0xA0);
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace tenji
