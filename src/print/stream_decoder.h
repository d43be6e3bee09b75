// Decodes the embosser's command stream the way the embosser reads it, for
// the virtual embosser, the preview and the tests:
// reset, dot size, move group, dot group, CR and FF. Anything else (a
// command cut short, a stray byte) is one protocol error at its offset, and
// decoding resumes at the next reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tenji {

struct RaisedDot {
  std::int64_t x = 0;  // steps down the page
  std::int64_t y = 0;  // steps across the page
  int size = 1;        // dot size in force
};

struct RaisedPage {
  std::vector<RaisedDot> dots;
  int moves = 0;
};

struct ProtocolError {
  std::size_t offset = 0;
  int byte = 0;
};

struct DecodedJob {
  std::vector<RaisedPage> pages;  // every page ended by FF, and a last one with dots
  std::vector<ProtocolError> errors;
  int resets = 0;
  int carriage_returns = 0;
  int dot_size = 1;  // the last dot size selected
};

DecodedJob decode_stream(const std::string& bytes);

// A coordinate from its two bytes. The high byte carries bits 5-12 offset by
// 0x20, modulo 256, so what comes back is the coordinate modulo 8192.
std::int64_t decode_coordinate(int high, int low, int low_base);

}  // namespace tenji
