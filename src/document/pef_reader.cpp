#include "document/pef_reader.h"

#include <expat.h>

#include "document/pef_rows.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tenji {

namespace {

// Expat reports names as "namespace local prefix" with this separator.
constexpr char NS_SEPARATOR = ' ';

struct Name {
  std::string_view uri, local, prefix;
  bool pef() const { return uri == PEF_NAMESPACE; }
  // As the file writes it: "tg:graphic".
  std::string written() const {
    return prefix.empty() ? std::string(local) : std::string(prefix) + ":" + std::string(local);
  }
};

Name split_name(const char* raw) {
  const std::string_view s(raw);
  const std::size_t a = s.find(NS_SEPARATOR);
  if (a == std::string_view::npos) return {{}, s, {}};
  const std::size_t b = s.find(NS_SEPARATOR, a + 1);
  if (b == std::string_view::npos) return {s.substr(0, a), s.substr(a + 1), {}};
  return {s.substr(0, a), s.substr(a + 1, b - a - 1), s.substr(b + 1)};
}

const char* attribute(const char** attrs, const char* name) {
  for (; attrs && attrs[0]; attrs += 2)
    if (std::strcmp(attrs[0], name) == 0) return attrs[1];
  return nullptr;
}

int int_attribute(const char** attrs, const char* name, int otherwise) {
  const char* v = attribute(attrs, name);
  return v ? static_cast<int>(std::strtol(v, nullptr, 10)) : otherwise;
}

// The parser's own fault, in the user's words where they are common.
const char* describe_xml_error(XML_Error code, bool element_open) {
  switch (code) {
    case XML_ERROR_SYNTAX: return "構文の誤りです";
    case XML_ERROR_NO_ELEMENTS: return element_open ? "要素が閉じないまま終わっています" : "要素がありません";
    case XML_ERROR_INVALID_TOKEN: return "XMLにない文字か記号があります";
    case XML_ERROR_UNCLOSED_TOKEN: return "閉じていないタグがあります";
    case XML_ERROR_PARTIAL_CHAR: return "文字の途中で終わっています";
    case XML_ERROR_TAG_MISMATCH: return "終了タグが開始タグと合いません";
    case XML_ERROR_DUPLICATE_ATTRIBUTE: return "同じ属性が二つあります";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT: return "文書の要素の後に余分なものがあります";
    case XML_ERROR_UNDEFINED_ENTITY: return "定義されていない実体があります";
    case XML_ERROR_BAD_CHAR_REF: return "文字参照が正しくありません";
    case XML_ERROR_UNKNOWN_ENCODING: return "文字コードが読めません";
    case XML_ERROR_INCORRECT_ENCODING: return "文字コードの宣言と中身が合いません";
    case XML_ERROR_UNCLOSED_CDATA_SECTION: return "CDATAセクションが閉じていません";
    case XML_ERROR_UNBOUND_PREFIX: return "宣言されていない名前空間接頭辞があります";
    default: return XML_ErrorString(code);
  }
}

}  // namespace

struct PefReader::State {
  enum class Kind { pef, head, body, volume, section, page, row, skipped };

  PefRowStore rows;
  PefInfo& info;
  XML_Parser parser = nullptr;
  std::string error;
  std::vector<Kind> open;   // the elements open now
  int rowgap_of[8] = {};    // the rowgap in force at each PEF level (by Kind)
  int skipped_depth = 0;    // elements open inside one whose content is not printed
  std::size_t left_out = 0; // its entry in info.rows_left_out
  bool body_seen = false, first_page = true;
  int volume = 0, section = 0, page = 0, row = 0;
  PefSection volume_layout;
  std::string row_text;

  State(BrailleDocument& d, PefInfo& i) : rows(d), info(i) {}

  bool in(Kind k) const { return !open.empty() && open.back() == k; }

  void stop(std::string why) {
    if (error.empty()) error = std::move(why);
    XML_StopParser(parser, XML_FALSE);
  }

  std::string here() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lu行目 %lu文字目", static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                  static_cast<unsigned long>(XML_GetCurrentColumnNumber(parser)) + 1);
    return buf;
  }

  std::string where_row() const {
    char buf[96];
    std::snprintf(buf, sizeof buf, "volume %d / section %d / page %d / row %d", volume, section, page, row);
    return buf;
  }

  // The first fault in the file's order: a row already handed on comes
  // before where the parser is.
  void settle() {
    if (!rows.finish()) error = rows.error();
  }

  static constexpr std::size_t NOT_COUNTED = SIZE_MAX;

  // An element whose content is not printed. Rows inside it are counted
  // under the container's name, if it has one.
  void skip(const std::string& container) {
    open.push_back(Kind::skipped);
    skipped_depth = 1;
    left_out = NOT_COUNTED;
    if (container.empty()) return;
    for (left_out = 0; left_out < info.rows_left_out.size(); ++left_out)
      if (info.rows_left_out[left_out].first == container) break;
    if (left_out == info.rows_left_out.size()) info.rows_left_out.emplace_back(container, 0);
  }

  void count_left_out_row() {
    if (left_out != NOT_COUNTED) ++info.rows_left_out[left_out].second;
  }

  void start(const char* raw, const char** attrs) {
    const Name name = split_name(raw);
    if (in(Kind::row)) return stop(where_row() + ": 行の中に要素 <" + name.written() + "> があります（" + here() + "）");
    if (skipped_depth > 0) {
      ++skipped_depth;
      open.push_back(Kind::skipped);
      if (name.pef() && name.local == "row") count_left_out_row();
      return;
    }
    if (open.empty()) {
      if (!name.pef() || name.local != "pef")
        return stop("PEFの pef 要素（名前空間 " + std::string(PEF_NAMESPACE) + "）がありません");
      open.push_back(Kind::pef);
      return;
    }
    if (in(Kind::head)) return skip("");  // the book's metadata: nothing of it is printed
    const std::string_view local = name.pef() ? name.local : std::string_view();
    if (local == "head" && in(Kind::pef)) return open.push_back(Kind::head);
    if (local == "body" && in(Kind::pef)) {
      body_seen = true;
      return open.push_back(Kind::body);
    }
    if (local == "volume" && in(Kind::body)) {
      ++volume;
      section = 0;
      volume_layout = {volume, 0, int_attribute(attrs, "cols", 0), int_attribute(attrs, "rows", 0),
                       int_attribute(attrs, "rowgap", 0), attribute_true(attrs, "duplex", false)};
      rowgap_of[static_cast<int>(Kind::volume)] = volume_layout.rowgap;
      return open.push_back(Kind::volume);
    }
    if (local == "section" && in(Kind::volume)) {
      ++section;
      page = 0;
      PefSection s = volume_layout;
      s.section = section;
      s.cols = int_attribute(attrs, "cols", s.cols);
      s.rows = int_attribute(attrs, "rows", s.rows);
      s.rowgap = int_attribute(attrs, "rowgap", s.rowgap);
      s.duplex = attribute_true(attrs, "duplex", s.duplex);
      info.sections.push_back(s);
      rowgap_of[static_cast<int>(Kind::section)] = s.rowgap;
      return open.push_back(Kind::section);
    }
    if (local == "page" && in(Kind::section)) {
      ++page;
      row = 0;
      if (!first_page) rows.page_break();
      first_page = false;
      rowgap_of[static_cast<int>(Kind::page)] =
          int_attribute(attrs, "rowgap", rowgap_of[static_cast<int>(Kind::section)]);
      return open.push_back(Kind::page);
    }
    if (local == "row" && in(Kind::page)) {
      ++row;
      if (int_attribute(attrs, "rowgap", rowgap_of[static_cast<int>(Kind::page)]) > 0) ++info.rows_with_rowgap;
      row_text.clear();
      return open.push_back(Kind::row);
    }
    // Another namespace's element (tactile graphics, say), or a PEF element
    // out of its place: its rows are not printed, and the user hears of them.
    if (local == "row") {
      skip(kind_name(open.back()));
      count_left_out_row();
      return;
    }
    skip(name.written());
  }

  static std::string kind_name(Kind k) {
    switch (k) {
      case Kind::pef: return "pef";
      case Kind::head: return "head";
      case Kind::body: return "body";
      case Kind::volume: return "volume";
      case Kind::section: return "section";
      case Kind::page: return "page";
      case Kind::row: return "row";
      case Kind::skipped: break;
    }
    return "";
  }

  static bool attribute_true(const char** attrs, const char* name, bool otherwise) {
    const char* v = attribute(attrs, name);
    return v ? std::strcmp(v, "true") == 0 : otherwise;
  }

  void end() {
    if (open.empty()) return;
    const Kind k = open.back();
    open.pop_back();
    if (k == Kind::skipped) {
      --skipped_depth;
      return;
    }
    if (k == Kind::row) end_row();
  }

  void end_row() {
    rows.row(row_text, {volume, section, page, row});
    if (row % 64 == 0 && !rows.ok()) stop(rows.error());
  }

  void text(const char* s, int len) {
    if (in(Kind::row)) row_text.append(s, static_cast<std::size_t>(len));
  }
};

PefReader::PefReader(BrailleDocument& document, PefInfo& info) : state_(std::make_unique<State>(document, info)) {
  State& st = *state_;
  st.parser = XML_ParserCreateNS(nullptr, NS_SEPARATOR);
  XML_SetReturnNSTriplet(st.parser, 1);
  XML_SetUserData(st.parser, &st);
  XML_SetElementHandler(
      st.parser, [](void* u, const XML_Char* name, const XML_Char** attrs) { static_cast<State*>(u)->start(name, attrs); },
      [](void* u, const XML_Char*) { static_cast<State*>(u)->end(); });
  XML_SetCharacterDataHandler(st.parser,
                              [](void* u, const XML_Char* s, int len) { static_cast<State*>(u)->text(s, len); });
  // No entity is ever expanded or fetched: a document type that defines one
  // is refused, and so is a reference to one it does not define.
  XML_SetEntityDeclHandler(st.parser, [](void* u, const XML_Char* name, int, const XML_Char*, int, const XML_Char*,
                                         const XML_Char*, const XML_Char*, const XML_Char*) {
    static_cast<State*>(u)->stop(std::string("文書型宣言で実体 ") + name +
                                 " が定義されています。実体を使うPEFは読みません");
  });
  XML_SetSkippedEntityHandler(st.parser, [](void* u, const XML_Char* name, int) {
    auto* s = static_cast<State*>(u);
    s->stop("実体 &" + std::string(name) + "; は読みません（" + s->here() + "）");
  });
}

PefReader::~PefReader() {
  if (state_->parser) XML_ParserFree(state_->parser);
}

const std::string& PefReader::error() const { return state_->error; }
bool PefReader::out_of_memory() const { return state_->rows.out_of_memory(); }

namespace {

// After a piece was parsed: the parser's fault, or what the end says.
bool after_parse(XML_Parser parser, XML_Status status, bool last, bool element_open, bool body_seen, int volumes,
                 std::string& error, const std::string& here) {
  if (status != XML_STATUS_OK) {
    if (error.empty()) {
      char what[256];
      std::snprintf(what, sizeof what, "XMLとして読めません（%s: %s）", here.c_str(),
                    describe_xml_error(XML_GetErrorCode(parser), element_open));
      error = what;
    }
    return false;
  }
  if (!last) return true;
  if (!body_seen) error = "pef に body がありません";
  else if (volumes == 0) error = "body に volume がありません";
  return error.empty();
}

}  // namespace

bool PefReader::feed(std::string_view bytes, bool last) {
  State& st = *state_;
  if (!st.error.empty()) return false;
  // Expat takes at most INT_MAX bytes at a time.
  do {
    const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
    const bool final = last && n == bytes.size();
    const XML_Status status = XML_Parse(st.parser, bytes.data(), static_cast<int>(n), final);
    if (!after_parse(st.parser, status, final, !st.open.empty(), st.body_seen, st.volume, st.error, st.here()) ||
        final) {
      st.settle();
      return st.error.empty();
    }
    bytes.remove_prefix(n);
  } while (!bytes.empty());
  return true;
}

char* PefReader::room(std::size_t size) {
  return static_cast<char*>(XML_GetBuffer(state_->parser, static_cast<int>(size)));
}

bool PefReader::feed_room(std::size_t filled, bool last) {
  State& st = *state_;
  if (!st.error.empty()) return false;
  const XML_Status status = XML_ParseBuffer(st.parser, static_cast<int>(filled), last);
  if (after_parse(st.parser, status, last, !st.open.empty(), st.body_seen, st.volume, st.error, st.here()) && !last)
    return true;
  st.settle();
  return st.error.empty();
}

bool parse_pef(std::string_view xml, TextDocument& out, PefInfo& info, std::string& error) {
  BrailleDocument doc;
  info = {};
  PefReader reader(doc, info);
  if (!reader.feed(xml, true)) {
    out = {};
    error = reader.error();
    return false;
  }
  out = text_document_of(doc);
  return true;
}

}  // namespace tenji
