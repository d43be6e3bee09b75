#include "print/stream_decoder.h"

namespace tenji {

namespace {

bool is_low_y(int b) { return b >= 0x60 && b <= 0x7F; }
bool is_low_x(int b) { return b >= 0x40 && b <= 0x5F; }

}  // namespace

std::int64_t decode_coordinate(int high, int low, int low_base) {
  return (static_cast<std::int64_t>((high - 0x20) & 0xFF) << 5) | (low - low_base);
}

DecodedJob decode_stream(const std::string& s) {
  DecodedJob job;
  RaisedPage page;
  const std::size_t n = s.size();
  auto at = [&](std::size_t i) { return i < n ? static_cast<unsigned char>(s[i]) : -1; };
  // A full address: high Y, low Y, high X, low X.
  auto address_at = [&](std::size_t i) { return i + 3 < n && is_low_y(at(i + 1)) && is_low_x(at(i + 3)); };

  std::size_t i = 0;
  while (i < n) {
    const int b = at(i);
    if (b == 0x1B && at(i + 1) == 0x1B && at(i + 2) == 'G') {
      ++job.resets;
      i += 3;
    } else if (b == 0x1B && at(i + 1) == 0x1B && at(i + 2) == 'D' && i + 3 < n) {
      const int v = at(i + 3);
      job.dot_size = (v >= '0' && v <= '2') ? v - '0' : v;
      i += 4;
    } else if (b == 0x1D && address_at(i + 1)) {
      ++page.moves;
      i += 5;
    } else if (address_at(i)) {  // before CR and FF: far coordinates have such high bytes
      RaisedDot d;
      d.y = decode_coordinate(at(i), at(i + 1), 0x60);
      d.x = decode_coordinate(at(i + 2), at(i + 3), 0x40);
      d.size = job.dot_size;
      page.dots.push_back(d);
      i += 4;
    } else if (b == 0x0D) {
      ++job.carriage_returns;
      ++i;
    } else if (b == 0x0C) {
      job.pages.push_back(std::move(page));
      page = RaisedPage{};
      ++i;
    } else {
      // A command cut short or a stray byte: the embosser takes nothing more
      // until the next reset.
      job.errors.push_back({i, b});
      const std::size_t reset = s.find("\x1B\x1BG", i + 1);
      i = reset == std::string::npos ? n : reset;
    }
  }
  if (!page.dots.empty()) job.pages.push_back(std::move(page));
  return job;
}

}  // namespace tenji
