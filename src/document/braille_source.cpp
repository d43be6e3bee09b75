#include "document/braille_source.h"

#include <vector>

#include "document/braille_file_reader.h"
#include "document/text_reader.h"
#include "document/utf16_text.h"
#include "platform/bounded_file.h"

namespace tenji {

namespace {

// No Braille book comes near this.
constexpr std::uintmax_t TEXT_SOURCE_MAX_BYTES = 256u * 1024 * 1024;
constexpr std::size_t PIECE = 1u << 16;

std::string extension_of(const std::string& path) {
  const std::size_t dot = path.find_last_of('.'), slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext;
}

// Text by its first piece: Unicode Braille where a character beyond ASCII
// is (a Braille pattern, or what then gets named as no Braille), else BRF.
SourceKind text_kind(std::string_view utf8) {
  for (unsigned char c : utf8)
    if (c >= 0x80) return SourceKind::braille_text;
  return SourceKind::brf;
}

// By name first; by content when the name says nothing. `head` is the
// file's first piece, as UTF-8.
SourceKind recognise(std::string_view head, const std::string& ext) {
  if (ext == "pef") return SourceKind::pef;
  if (ext == "brf") return SourceKind::brf;
  if (ext == "txt") return text_kind(head);
  std::size_t i = head.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) ++i;
  if (i < head.size() && head[i] == '<') return SourceKind::pef;
  return text_kind(head);
}

DocumentFailure failure_of(platform::FileCheck check) {
  switch (check) {
    case platform::FileCheck::missing: return DocumentFailure::missing;
    case platform::FileCheck::unreadable: return DocumentFailure::unreadable;
    case platform::FileCheck::too_large: return DocumentFailure::too_large;
    case platform::FileCheck::not_a_file:
    case platform::FileCheck::ok: break;
  }
  return DocumentFailure::not_a_file;
}

// Reads the file from its start through `reader`, which takes UTF-8 pieces
// (UTF-16 is turned into UTF-8 on the way) and says at the end whether all
// went well.
template <typename Feed, typename Finish>
platform::FileCheck read_pieces(platform::BoundedFile& file, bool utf16, Feed feed, Finish finish, bool& parsed) {
  std::vector<char> piece(PIECE);
  Utf16Decoder decoder;
  parsed = true;
  while (const std::size_t n = file.read(piece.data(), piece.size())) {
    const std::string_view bytes(piece.data(), n);
    if (!(utf16 ? feed(decoder.decode(bytes)) : feed(bytes))) {
      parsed = false;
      return file.check();
    }
  }
  if (file.check() != platform::FileCheck::ok) return file.check();
  parsed = (!utf16 || feed(decoder.finish())) && finish();
  return file.check();
}

struct Parsed {
  platform::FileCheck check = platform::FileCheck::ok;
  bool ok = false, out_of_memory = false, non_ascii = false;
  std::string why;
};

Parsed parse_text(platform::BoundedFile& file, bool utf16, TextForm form, BrailleDocument& doc) {
  Parsed p;
  TextReader reader(form, doc);
  p.check = read_pieces(
      file, utf16, [&](std::string_view b) { return reader.feed(b); }, [&] { return reader.finish(); }, p.ok);
  const BrailleTextError& e = reader.error();
  p.out_of_memory = e.out_of_memory;
  p.non_ascii = reader.met_non_ascii();
  if (!p.ok) p.why = std::to_string(e.line) + "行目 " + std::to_string(e.column) + "文字目: " + e.message;
  return p;
}

// The XML parser reads UTF-16 itself, and is read into directly.
Parsed parse_pef_file(platform::BoundedFile& file, BrailleDocument& doc, PefInfo& info) {
  Parsed p;
  PefReader reader(doc, info);
  for (;;) {
    char* room = reader.room(PIECE);
    if (!room) {
      p.out_of_memory = true;
      break;
    }
    const std::size_t n = file.read(room, PIECE);
    if (file.check() != platform::FileCheck::ok) break;
    p.ok = reader.feed_room(n, n == 0);
    if (!p.ok || n == 0) break;
  }
  p.check = file.check();
  p.out_of_memory = p.out_of_memory || reader.out_of_memory();
  p.why = reader.error();
  return p;
}

// A guess of the cells in a file of `bytes`, so that the document is not
// copied as it grows.
void reserve_for(BrailleDocument& doc, SourceKind kind, bool utf16, std::uintmax_t bytes) {
  const std::uintmax_t per_cell = kind == SourceKind::brf ? (utf16 ? 2 : 1) : (utf16 ? 2 : 3);
  const std::uintmax_t cells = bytes / per_cell;
  doc.reserve(static_cast<std::size_t>(cells), static_cast<std::size_t>(cells / 16 + 16));
}

void take(BrailleDocument&& read, BrailleDocument& doc) {
  if (doc.line_count() == 0 && doc.page_breaks().empty()) {
    doc = std::move(read);
    return;
  }
  std::size_t next_break = 0;
  const auto& breaks = read.page_breaks();
  for (int n = 1; n <= read.line_count() + 1; ++n) {
    for (; next_break < breaks.size() && breaks[next_break] == n; ++next_break) doc.break_page();
    if (n <= read.line_count()) doc.append_cells(read.cells(n));
  }
}

}  // namespace

const char* source_kind_name(SourceKind kind) {
  switch (kind) {
    case SourceKind::nrk: return "NRK";
    case SourceKind::pef: return "PEF";
    case SourceKind::braille_text: return "点字テキスト";
    case SourceKind::brf: return "BRF";
  }
  return "";
}

SourceKind recognise_source(std::string_view head, const std::string& path) {
  const std::string ext = extension_of(path);
  if (ext == "nrk" || head.substr(0, 4) == "%NRQ") return SourceKind::nrk;
  const std::string piece(head);
  if (!starts_as_utf16(piece)) return recognise(piece, ext);
  Utf16Decoder peek;
  return recognise(peek.decode(piece), ext);
}

SourceRead read_braille_source(const std::string& path, BrailleDocument& doc) {
  SourceRead r;
  platform::BoundedFile file(path, TEXT_SOURCE_MAX_BYTES);
  std::string head(PIECE, '\0');
  head.resize(file.read(head.data(), head.size()));
  const std::string ext = extension_of(path);
  // NRK files are read by their own reader, which also tells why a file
  // cannot be read at all.
  if (file.check() == platform::FileCheck::ok && (head.compare(0, 4, "%NRQ") != 0 && ext != "nrk")) {
    r.utf16 = starts_as_utf16(head);
    Utf16Decoder peek;
    r.kind = recognise(r.utf16 ? peek.decode(head) : head, ext);
  } else if (file.check() == platform::FileCheck::ok || file.check() == platform::FileCheck::not_a_file) {
    BrailleFileReader reader(path.c_str());
    r.ok = reader.read(&doc) == 0;
    if (!r.ok) r.message = document_failure_message(reader.failure(), path);
    return r;
  } else {
    r.message = document_failure_message(failure_of(file.check()), path);
    return r;
  }

  BrailleDocument read;
  reserve_for(read, r.kind, r.utf16, file.size());
  Parsed p;
  if (r.kind == SourceKind::pef) {
    r.pef.emplace();
    if (file.rewind()) p = parse_pef_file(file, read, *r.pef);
  } else if (file.rewind()) {
    p = parse_text(file, r.utf16, r.kind == SourceKind::brf ? TextForm::brf : TextForm::unicode, read);
    // Beyond the first piece, a file whose name said nothing turned out to
    // be more than ASCII: Unicode Braille text, then.
    if (!p.ok && p.non_ascii && ext != "brf" && file.rewind()) {
      read = BrailleDocument();
      r.kind = SourceKind::braille_text;
      p = parse_text(file, r.utf16, TextForm::unicode, read);
    }
  }
  if (p.check != platform::FileCheck::ok || file.check() != platform::FileCheck::ok) {
    r.message = document_failure_message(failure_of(file.check()), path);
    return r;
  }
  if (p.out_of_memory) {
    r.message = document_failure_message(DocumentFailure::out_of_memory, path);
    return r;
  }
  if (!p.ok) {
    r.message = std::string(source_kind_name(r.kind)) + (r.utf16 ? "（UTF-16）" : "") +
                "の点字ファイルとして読めません。\n" + path + "\n" + p.why;
    r.pef.reset();
    return r;
  }
  take(std::move(read), doc);
  r.ok = true;
  return r;
}

}  // namespace tenji
