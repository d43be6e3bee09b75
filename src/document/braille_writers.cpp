#include "document/braille_writers.h"

namespace tenji {

namespace {

// The lines, each made by `line_of`, with `page_break` between pages (also
// before empty pages at the end).
template <typename Line>
std::string join(const TextDocument& doc, const std::string& page_break, Line line_of) {
  std::string out;
  std::size_t next_break = 0;
  for (std::size_t i = 0; i <= doc.lines.size(); ++i) {
    for (; next_break < doc.page_breaks.size() && doc.page_breaks[next_break] == static_cast<int>(i); ++next_break)
      out += page_break;
    if (i < doc.lines.size()) out += line_of(doc.lines[i]);
  }
  return out;
}

// A text form's page break is a form feed on a line of its own. A reader
// takes the last form feed of a file for the end of its last page, so a last
// page without cells is ended by one more.
template <typename Line>
std::string join_text(const TextDocument& doc, const std::string& line_end, Line line_of) {
  const std::string page_break = "\f" + line_end;
  std::string out = join(doc, page_break, [&](const std::string& cells) { return line_of(cells) + line_end; });
  if (doc.page_breaks.empty()) return out;
  bool last_page_blank = true;
  for (std::size_t i = static_cast<std::size_t>(doc.page_breaks.back()); i < doc.lines.size(); ++i)
    last_page_blank = last_page_blank && doc.lines[i].empty();
  return last_page_blank ? out + page_break : out;
}

char brf_char(unsigned char cell) {
  for (int c = 0x20; c < 0x60; ++c)
    if (brf_cell(static_cast<unsigned char>(c)) == cell) return static_cast<char>(c);
  return ' ';
}

}  // namespace

std::string encode_brf(const TextDocument& doc) {
  return join_text(doc, "\r\n", [](const std::string& cells) {
    std::string out;
    for (unsigned char c : cells) out += brf_char(c);
    return out;
  });
}

std::string encode_braille_text(const TextDocument& doc) {
  return join_text(doc, "\n", [](const std::string& cells) { return braille_text_from_cells(cells); });
}

std::string encode_pef(const TextDocument& doc, int cols, int rows) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<pef version=\"2008-1\" xmlns=\"http://www.daisy.org/ns/2008/pef\">\n"
      "  <head><meta xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:format>application/x-pef+xml</dc:format>"
      "</meta></head>\n"
      "  <body>\n    <volume cols=\"" + std::to_string(cols) + "\" rows=\"" + std::to_string(rows) +
      "\" rowgap=\"0\" duplex=\"false\">\n      <section>\n        <page>\n";
  // A blank cell is U+2800 in a row; spaces are not cells there.
  out += join(doc, "        </page>\n        <page>\n", [](const std::string& cells) {
    return "          <row>" + braille_text_from_cells(cells) + "</row>\n";
  });
  return out + "        </page>\n      </section>\n    </volume>\n  </body>\n</pef>\n";
}

}  // namespace tenji
