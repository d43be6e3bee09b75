#include "document/utf16_text.h"

#include "platform/utf8.h"

namespace tenji {

bool starts_as_utf16(std::string_view head) {
  return head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF";
}

void Utf16Decoder::put(char32_t cp) { platform::append_utf8(out_, cp); }

std::string Utf16Decoder::decode(std::string_view bytes) {
  out_.clear();
  std::string joined;
  if (!odd_.empty()) {
    joined = odd_;
    joined.append(bytes);
    odd_.clear();
    bytes = joined;
  }
  if (!started_ && bytes.size() >= 2) {
    big_endian_ = bytes.substr(0, 2) == "\xFE\xFF";
    if (starts_as_utf16(bytes)) bytes.remove_prefix(2);
    started_ = true;
  }
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[i + (big_endian_ ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(bytes[i + (big_endian_ ? 0 : 1)]);
    const char32_t unit = static_cast<char32_t>(hi << 8 | lo);
    if (high_) {
      if (unit >= 0xDC00 && unit <= 0xDFFF) {
        put(0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
        high_ = 0;
        continue;
      }
      put(0xFFFD);
      high_ = 0;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF)
      high_ = unit;
    else
      put(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
  }
  odd_.assign(bytes.substr(i));
  return std::move(out_);
}

std::string Utf16Decoder::finish() {
  out_.clear();
  if (high_ || !odd_.empty()) put(0xFFFD);
  high_ = 0;
  odd_.clear();
  return std::move(out_);
}

}  // namespace tenji
