// Document files for tests: the real prefix, then any length field and any
// record bytes, so that malformed and truncated bodies can be built too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/nrk_writer.h"

namespace tenji::testing {

inline std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

inline std::string nrk_with_length(std::uint16_t length, const std::string& records) {
  return nrk_prefix() + static_cast<char>(length & 0xFF) + static_cast<char>(length >> 8) + records;
}

}  // namespace tenji::testing
