#include "document/nrk_writer.h"

#include <cstdint>

namespace tenji {

std::string nrk_prefix() {
  std::string out(512, ' ');
  out.replace(0, 4, "%NRQ");
  out += '\xFF';
  out.append(1024 - out.size(), '\0');
  out += '\xFF';
  return out;
}

std::string nrk_records(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += '\x0D';
    out += line;
  }
  // 0x0D closes the last line; the run it opens stays empty and open across
  // 0xF4, so the end code discards it instead of storing an extra line.
  out += "\x0D\xF4\xFF";
  return out;
}

std::string nrk_body(const std::string& records) {
  std::string out;
  auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const std::uint64_t short_length = records.size() + 2;
  if (short_length <= 0xFFFF) {
    put(static_cast<std::uint32_t>(short_length), 2);
  } else {
    put(0, 2);
    put(static_cast<std::uint32_t>(records.size() + 6), 4);
  }
  return out + records;
}

std::string encode_nrk(const std::vector<std::string>& lines) {
  return nrk_prefix() + nrk_body(nrk_records(lines));
}

}  // namespace tenji
