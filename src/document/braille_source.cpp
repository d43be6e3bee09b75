#include "document/braille_source.h"

#include "document/braille_file_reader.h"
#include "document/braille_text.h"
#include "platform/bounded_file.h"

namespace tenji {

namespace {

// Text sources are read whole; no Braille book comes near this.
constexpr std::uintmax_t TEXT_SOURCE_MAX_BYTES = 256u * 1024 * 1024;

std::string extension_of(const std::string& path) {
  const std::size_t dot = path.find_last_of('.'), slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext;
}

// By content; the extension settles what content alone leaves open: any
// plain text is valid BRF, so a file named .nrk or .pef is taken for what
// its name says and told so when it is not.
SourceKind recognise(const std::string& bytes, const std::string& path) {
  if (bytes.compare(0, 4, "%NRQ") == 0) return SourceKind::nrk;
  const std::string ext = extension_of(path);
  if (ext == "nrk") return SourceKind::nrk;
  if (ext == "pef") return SourceKind::pef;
  std::size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  if (i < bytes.size() && bytes[i] == '<') return SourceKind::pef;
  // U+2800-U+28FF is E2 A0..A3 xx in UTF-8.
  for (std::size_t k = 0; k + 1 < bytes.size(); ++k)
    if (bytes[k] == '\xE2' && (static_cast<unsigned char>(bytes[k + 1]) & 0xFC) == 0xA0) return SourceKind::braille_text;
  return SourceKind::brf;
}

bool append(const TextDocument& text, BrailleDocument& doc) {
  std::size_t next_break = 0;
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    while (next_break < text.page_breaks.size() && text.page_breaks[next_break] == static_cast<int>(i)) {
      doc.break_page();
      ++next_break;
    }
    if (text.lines[i].size() > BRAILLE_LINE_MAX || !doc.append_line(make_braille_line(text.lines[i]))) return false;
  }
  return true;
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

std::string pef_layout_note(const PefLayout& pef, int cpl, int lpp) {
  std::string note;
  if (pef.cols != cpl || pef.rows != lpp || pef.rowgap != 0)
    note = "このPEFは " + std::to_string(pef.cols) + "マス × " + std::to_string(pef.rows) + "行（rowgap " +
           std::to_string(pef.rowgap) + "）用です。設定の " + std::to_string(cpl) + "マス × " + std::to_string(lpp) +
           "行で印刷します。";
  if (pef.duplex)
    note += std::string(note.empty() ? "" : "\n") +
            "このPEFは両面用です。点字プリンターは片面なので、両面のページを1枚ずつ順に印刷します。";
  return note;
}

SourceRead read_braille_source(const std::string& path, BrailleDocument& doc) {
  SourceRead r;
  const platform::BoundedRead file = platform::read_bounded_file(path, TEXT_SOURCE_MAX_BYTES);
  // NRK files are read by their own reader, which also tells why a file
  // cannot be read at all.
  if (file.check != platform::FileCheck::ok || recognise(file.bytes, path) == SourceKind::nrk) {
    BrailleFileReader reader(path.c_str());
    r.ok = reader.read(&doc) == 0;
    if (!r.ok) r.message = document_failure_message(reader.failure(), path);
    return r;
  }
  r.kind = recognise(file.bytes, path);
  TextDocument text;
  std::string why;
  bool parsed;
  if (r.kind == SourceKind::pef) {
    PefLayout layout;
    parsed = parse_pef(file.bytes, text, layout, why);
    if (parsed) r.pef = layout;
  } else {
    BrailleTextError e;
    parsed = r.kind == SourceKind::braille_text ? parse_braille_text(file.bytes, text, e) : parse_brf(file.bytes, text, e);
    if (!parsed) why = std::to_string(e.line) + "行目 " + std::to_string(e.column) + "文字目: " + e.message;
  }
  if (!parsed) {
    r.message = std::string(source_kind_name(r.kind)) + "の点字ファイルとして読めません。\n" + path + "\n" + why;
    return r;
  }
  r.ok = append(text, doc);
  if (!r.ok) r.message = "行が長すぎるか、メモリが足りず、点字ファイルを読み終えられませんでした。\n" + path;
  return r;
}

}  // namespace tenji
