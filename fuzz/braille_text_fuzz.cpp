// libFuzzer target: any bytes as BRF, Unicode Braille text or PEF. Whatever
// a reader accepts must write back and read again to the same cells and
// pages, and read the same when it comes in pieces; a refusal must name a
// line and column inside the input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/braille_text.h"
#include "document/braille_writers.h"
#include "document/pef_reader.h"
#include "document/text_reader.h"

namespace {

void same_or_abort(const tenji::TextDocument& a, const tenji::TextDocument& b) {
  if (a.lines != b.lines || a.page_breaks != b.page_breaks) std::abort();
}

// The bytes in pieces of `piece` bytes, as a file is read.
bool read_in_pieces(tenji::TextForm form, std::string_view bytes, std::size_t piece, tenji::TextDocument& out) {
  tenji::BrailleDocument doc;
  tenji::TextReader reader(form, doc);
  for (std::size_t at = 0; at < bytes.size(); at += piece)
    if (!reader.feed(bytes.substr(at, piece))) return false;
  if (!reader.finish()) return false;
  out = tenji::text_document_of(doc);
  return true;
}

template <typename Parse, typename Encode>
void text_round_trip(tenji::TextForm form, std::string_view bytes, std::size_t piece, Parse parse, Encode encode) {
  tenji::TextDocument doc, again, pieces;
  tenji::BrailleTextError error;
  const bool whole = parse(bytes, doc, error);
  if (read_in_pieces(form, bytes, piece, pieces) != whole) std::abort();
  if (whole) {
    same_or_abort(doc, pieces);
    if (!parse(encode(doc), again, error)) std::abort();
    same_or_abort(doc, again);
  } else if (error.line < 1 || error.column < 1 || error.message.empty()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t piece = 1 + data[0] / 3 % 8;
  if (data[0] % 3 == 0) {
    text_round_trip(tenji::TextForm::brf, bytes, piece, tenji::parse_brf, tenji::encode_brf);
  } else if (data[0] % 3 == 1) {
    text_round_trip(tenji::TextForm::unicode, bytes, piece, tenji::parse_braille_text, tenji::encode_braille_text);
  } else {
    tenji::TextDocument doc, again;
    tenji::PefInfo info, info_again;
    std::string message;
    if (tenji::parse_pef(bytes, doc, info, message)) {
      const tenji::PefSection layout = info.sections.empty() ? tenji::PefSection{} : info.sections.front();
      if (!tenji::parse_pef(tenji::encode_pef(doc, layout.cols, layout.rows), again, info_again, message))
        std::abort();
      same_or_abort(doc, again);
    } else if (message.empty()) {
      std::abort();
    }
  }
  return 0;
}
