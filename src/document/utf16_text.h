// Text saved as UTF-16 with a byte-order mark (Notepad's "Unicode"), turned
// into UTF-8 piece by piece for the text readers.
#pragma once

#include <string>
#include <string_view>

namespace tenji {

// FF FE (little-endian) or FE FF (big-endian) at the start.
bool starts_as_utf16(std::string_view head);

class Utf16Decoder {
 public:
  // The UTF-8 of the next piece; the byte-order mark of the first piece is
  // left out. A unit without its pair becomes U+FFFD.
  std::string decode(std::string_view bytes);
  // What a last odd byte or unpaired surrogate becomes at the end.
  std::string finish();

 private:
  void put(char32_t cp);
  bool started_ = false, big_endian_ = false;
  std::string odd_;          // a byte waiting for its other half
  char32_t high_ = 0;        // a high surrogate waiting for its low one
  std::string out_;
};

}  // namespace tenji
