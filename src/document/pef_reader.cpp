#include "document/pef_reader.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>

namespace tenji {

namespace {

// Names without their namespace prefix; the prefix bound to PEF's
// namespace is what counts.
std::string_view local_name(const pugi::xml_node& n) {
  const std::string_view name = n.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string prefix_of(const pugi::xml_node& n) {
  const std::string_view name = n.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon));
}

class PefReader {
 public:
  PefReader(TextDocument& out, PefLayout& layout, std::string& error) : out_(out), layout_(layout), error_(error) {}

  bool read(const pugi::xml_node& root) {
    prefix_ = prefix_of(root);
    const std::string xmlns = prefix_.empty() ? "xmlns" : "xmlns:" + prefix_;
    if (local_name(root) != "pef" || std::strcmp(root.attribute(xmlns.c_str()).value(), PEF_NAMESPACE) != 0)
      return fail("PEFの pef 要素（名前空間 " + std::string(PEF_NAMESPACE) + "）がありません");
    const pugi::xml_node body = child(root, "body");
    if (!body) return fail("pef に body がありません");
    int volume_no = 0;
    for (const pugi::xml_node volume : children(body, "volume")) {
      ++volume_no;
      if (volume_no == 1) {
        layout_.cols = volume.attribute("cols").as_int();
        layout_.rows = volume.attribute("rows").as_int();
        layout_.rowgap = volume.attribute("rowgap").as_int();
        layout_.duplex = volume.attribute("duplex").as_bool();
      }
      int section_no = 0;
      for (const pugi::xml_node section : children(volume, "section")) {
        ++section_no;
        int page_no = 0;
        for (const pugi::xml_node page : children(section, "page")) {
          ++page_no;
          if (!first_page_) out_.page_breaks.push_back(static_cast<int>(out_.lines.size()));
          first_page_ = false;
          int row_no = 0;
          for (const pugi::xml_node row : children(page, "row")) {
            ++row_no;
            char where[96];
            std::snprintf(where, sizeof where, "volume %d / section %d / page %d / row %d", volume_no, section_no,
                          page_no, row_no);
            if (!read_row(row.child_value(), where)) return false;
          }
        }
      }
    }
    if (volume_no == 0) return fail("body に volume がありません");
    return true;
  }

 private:
  pugi::xml_node child(const pugi::xml_node& parent, const char* name) const {
    const auto found = children(parent, name);
    return found.empty() ? pugi::xml_node() : found.front();
  }

  std::vector<pugi::xml_node> children(const pugi::xml_node& parent, const char* name) const {
    std::vector<pugi::xml_node> out;
    for (const pugi::xml_node n : parent.children())
      if (n.type() == pugi::node_element && local_name(n) == name && prefix_of(n) == prefix_) out.push_back(n);
    return out;
  }

  // A row's text: Unicode Braille of six dots (U+2800-U+283F); white space
  // around it is layout of the XML, not cells.
  bool read_row(std::string_view text, const char* where) {
    while (!text.empty() && std::strchr(" \t\r\n", text.front())) text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back())) text.remove_suffix(1);
    std::string cells;
    for (std::size_t i = 0, column = 1; i < text.size(); ++column) {
      const long cp = next_code_point(text, i);
      if (cp >= 0x2800 && cp <= 0x283F) {
        cells += static_cast<char>(0xA0 + (cp - 0x2800));
        continue;
      }
      char what[256];
      if (cp >= 0x2840 && cp <= 0x28FF)
        std::snprintf(what, sizeof what, "%s, %zu文字目: U+%04lX は7の点か8の点を使っています", where, column, cp);
      else
        std::snprintf(what, sizeof what, "%s, %zu文字目: 点字ではない文字があります", where, column);
      return fail(what);
    }
    out_.lines.push_back(std::move(cells));
    return true;
  }

  bool fail(const std::string& why) {
    error_ = why;
    return false;
  }

  TextDocument& out_;
  PefLayout& layout_;
  std::string& error_;
  std::string prefix_;
  bool first_page_ = true;
};

}  // namespace

bool parse_pef(std::string_view xml, TextDocument& out, PefLayout& layout, std::string& error) {
  out = {};
  layout = {};
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  if (!parsed) {
    char what[160];
    std::snprintf(what, sizeof what, "XMLとして読めません（%td バイト目: %s）", parsed.offset + 1, parsed.description());
    error = what;
    return false;
  }
  PefReader reader(out, layout, error);
  if (!reader.read(doc.document_element())) {
    out = {};
    return false;
  }
  drop_trailing_page_breaks(out);  // a page after the last row
  return true;
}

}  // namespace tenji
