#include "document/braille_text.h"


namespace tenji {

namespace {

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

int brf_cell(unsigned char c) {
  if (c >= 0x60 && c <= 0x7E) c = static_cast<unsigned char>(c - 0x20);
  if (c < 0x20 || c > 0x5F) return -1;
  return 0xA0 + BRF_DOTS[c - 0x20];
}

TextDocument text_document_of(const BrailleDocument& doc) {
  TextDocument out;
  out.lines.reserve(static_cast<std::size_t>(doc.line_count()));
  for (int n = 1; n <= doc.line_count(); ++n) out.lines.emplace_back(doc.cells(n));
  for (int b : doc.page_breaks()) out.page_breaks.push_back(b - 1);
  return out;
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
