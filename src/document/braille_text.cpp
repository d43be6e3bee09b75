#include "document/braille_text.h"

#include <cstdio>

namespace tenji {

namespace {

// Decodes one UTF-8 character at `i`; returns the code point or -1.
long decode_utf8(std::string_view s, std::size_t& i) {
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

std::string describe(long cp) {
  char buf[64];
  if (cp < 0) return "invalid UTF-8";
  std::snprintf(buf, sizeof buf, "U+%04lX is not a six-dot Braille pattern or a space", cp);
  return buf;
}

}  // namespace

bool cells_from_braille_text(std::string_view utf8, std::vector<std::string>& lines,
                             BrailleTextError& error) {
  lines.clear();
  int line_no = 1;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? utf8.size() : end + 1;
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view text = utf8.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);

    std::string cells;
    int column = 1;
    for (std::size_t i = 0; i < text.size(); ++column) {
      const long cp = decode_utf8(text, i);
      if (cp == ' ') {
        cells += '\xA0';
      } else if (cp >= 0x2800 && cp <= 0x283F) {
        cells += static_cast<char>(0xA0 + (cp - 0x2800));
      } else {
        error = {line_no, column, describe(cp)};
        lines.clear();
        return false;
      }
    }
    lines.push_back(std::move(cells));
    start = next;
    ++line_no;
  }
  return true;
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
