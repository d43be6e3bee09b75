// libFuzzer target: any bytes as BRF, Unicode Braille text or PEF. Whatever
// a reader accepts must write back and read again to the same cells and
// pages; a refusal must name a line and column inside the input.
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

template <typename Parse, typename Encode>
void text_round_trip(std::string_view bytes, Parse parse, Encode encode) {
  tenji::TextDocument doc, again;
  tenji::BrailleTextError error;
  if (parse(bytes, doc, error)) {
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
  if (data[0] % 3 == 0) {
    text_round_trip(bytes, tenji::parse_brf, tenji::encode_brf);
  } else if (data[0] % 3 == 1) {
    text_round_trip(bytes, tenji::parse_braille_text, tenji::encode_braille_text);
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
