#include "print/command_stream.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "platform/debug_output.h"
#include "print/printing_flag.h"

namespace tenji {

thread_local SerialPort* current_port = nullptr;

namespace {

thread_local std::uint64_t bytes_sent = 0;

// Ends a wait for the line only when, after a Cancel, the line has stopped.
class LineWait {
 public:
  explicit LineWait(SerialPort* port) : port_(port) {}

  // The limit counts from the Cancel: the watch starts at its first look.
  bool stalled() { return printing_flag.load() == 0 && stall_.stalled(port_->tx_used(port_)); }

 private:
  SerialPort* port_;
  LineStallWatch stall_;
};

SendResult send_bytes(std::initializer_list<int> bytes) {
  for (int b : bytes)
    if (const SendResult r = send_byte(current_port, b); r != SendResult::sent) return r;
  return SendResult::sent;
}

SendResult send_address(int lead, std::int64_t x, std::int64_t y) {
  if (lead >= 0)
    if (const SendResult r = send_byte(current_port, lead); r != SendResult::sent) return r;
  const Address a = encode_address(x, y);
  for (std::uint8_t b : a.bytes)
    if (const SendResult r = send_byte(current_port, b); r != SendResult::sent) return r;
  return SendResult::sent;
}

}  // namespace

int wait_for_line(SerialPort* port, double share) {
  const int ms = std::clamp(port_ms_until_room(port, share), 1, LONGEST_LOOK_MS);
  return port_wait(port, ms, sleep_unless_cancelled);
}

bool LineStallWatch::stalled(int queued_now) {
  const std::uint32_t now = port_tick_count();
  if (!started_ || queued_now != last_queued_) {
    started_ = true;
    last_queued_ = queued_now;
    since_ = now;
    return false;
  }
  return now - since_ >= static_cast<std::uint32_t>(STALL_LIMIT_MS);
}
std::uint64_t stream_bytes_sent() { return bytes_sent; }
void reset_stream_bytes_sent() { bytes_sent = 0; }

Address encode_address(std::int64_t x, std::int64_t y) {
  // Only bits 0-12 of a coordinate reach the bytes, so 64-bit arithmetic
  // gives the same bytes as 32-bit without overflowing.
  auto high = [](std::int64_t v) { return static_cast<std::uint8_t>(((v >> 5) + 0x20) & 0xFF); };
  return {{high(y), static_cast<std::uint8_t>((y & 0x1F) + 0x60), high(x),
           static_cast<std::uint8_t>((x & 0x1F) + 0x40)}};
}

std::size_t cell_byte_count(int pattern) {
  const auto dots = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(pattern) & 0x3Fu));
  return 2 * MOVE_GROUP_BYTES + CR_BYTES + RESET_BYTES + dots * DOT_GROUP_BYTES;
}

SendResult send_byte(SerialPort* port, int value) {
  LineWait wait(port);
  for (;;) {
    // Woken when half of what may be on the way has gone: a few looks a
    // second, and the line never runs dry between them.
    while (port->tx_free(port) == 0) {
      if (wait.stalled()) return SendResult::stalled;
      if (wait_for_line(port, 0.5) < 0) return SendResult::failed;
    }
    const int result = write_byte_timed(port, value, 100);
    if (result == 0) {
      ++bytes_sent;
      return SendResult::sent;
    }
    char text[256];
    if (result == ASHANDSHAKEBLOCK) {
      std::snprintf(text, sizeof text, "ASHANDSHAKEBLOCK");
      platform::debug_output(text);
      if (wait.stalled()) return SendResult::stalled;
      idle_wait(port, 100);
      continue;
    }
    std::snprintf(text, sizeof text, "GL Error %d %s", result, as_error_name(result));
    platform::debug_output(text);
    return SendResult::failed;
  }
}

template <std::size_t N>
SendResult send_sequence(const std::array<unsigned char, N>& sequence) {
  for (unsigned char b : sequence)
    if (const SendResult r = send_byte(current_port, b); r != SendResult::sent) return r;
  return SendResult::sent;
}

SendResult send_reset() { return send_sequence(RESET_SEQUENCE); }

SendResult send_dot_size(int ten_kind) {
  int size_byte;
  switch (ten_kind) {
    case 0: size_byte = '0'; break;
    case 1: size_byte = '1'; break;
    case 2: size_byte = '2'; break;
    default: size_byte = ten_kind & 0xFF; break;
  }
  if (const SendResult r = send_sequence(DOT_SIZE_COMMAND); r != SendResult::sent) return r;
  return send_bytes({size_byte});
}

SendResult send_cr() { return send_bytes({CR}); }

SendResult send_page_end() {
  if (const SendResult r = send_bytes({CR, FF}); r != SendResult::sent) return r;
  return send_reset();
}

namespace {

// One dot column: the move group, then a dot group per raised dot (bits 0-2
// of `dots`). Every dot lies back pitch steps below the move's X.
SendResult plot_column(int dots, std::int64_t x0, std::int64_t first_dot, int dx, std::int64_t y) {
  if (const SendResult r = send_address(GS, x0, y); r != SendResult::sent) return r;
  for (int dot = 0; dot < 3; ++dot) {
    if (!(dots & (1 << dot))) continue;
    if (const SendResult r = send_address(-1, first_dot + std::int64_t{dot} * dx, y); r != SendResult::sent) return r;
  }
  return SendResult::sent;
}

}  // namespace

SendResult plot_cell(int pattern, int x, int y, int dx, int dy, int back_pitch) {
  const std::int64_t x0 = x, first_dot = x0 + back_pitch;
  if (const SendResult r = plot_column(pattern, x0, first_dot, dx, y); r != SendResult::sent) return r;
  if (const SendResult r = send_cr(); r != SendResult::sent) return r;
  if (const SendResult r = send_reset(); r != SendResult::sent) return r;
  return plot_column(pattern >> 3, x0, first_dot, dx, std::int64_t{y} + dy);
}

}  // namespace tenji
