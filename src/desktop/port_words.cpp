#include "desktop/port_words.h"

namespace tenji {

std::string com_word(int com_number) {
  std::string word = "ｃｏｍ";
  for (const char digit : std::to_string(com_number)) {
    // Full-width digits: U+FF10 onwards, EF BC 90 in UTF-8.
    word += "\xEF\xBC";
    word += static_cast<char>(0x90 + (digit - '0'));
  }
  return word;
}

std::string com_summary(int com_number, const std::vector<FoundPort>& ports) {
  for (const FoundPort& p : ports)
    if (p.com_number == com_number) return com_word(com_number) + ": " + port_description(p);
  return com_word(com_number) + ": 見つかりません";
}

std::string device_choice(const FoundPort& port) {
  std::string text = port.device + "  " + port_description(port);
  if (port.com_number) text += "（今は " + com_word(port.com_number) + "）";
  return text;
}

}  // namespace tenji
