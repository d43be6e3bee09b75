// The embosser's command language: reset, dot size, carriage return, page
// end, and the move and dot groups that emboss one six-dot cell. Every byte
// goes through send_byte, one at a time, on the job's thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "serial/serial_port.h"

namespace tenji {

// The port the job sends through, on the job's thread (each thread has its
// own: the preview sends into memory while a job may print).
extern thread_local SerialPort* current_port;

enum class SendResult {
  sent,
  stalled,  // after Cancel, the line did not move for STALL_LIMIT_MS
  failed,   // the port refused the byte: the job cannot go on
};

// A wait for the line never ends on Cancel: the cell in progress is
// finished. Only a line that, after a Cancel, has not moved for this long
// (held by XOFF or CTS) ends it.
inline constexpr int STALL_LIMIT_MS = 10000;

// The longest sleep between two looks at the line.
inline constexpr int LONGEST_LOOK_MS = 100;

// Sleeps until the line, as the driver reckons it, has room for `share` of
// what may be on its way (1.0: until it is empty), at most LONGEST_LOOK_MS.
// Negative when the idle hook said stop.
int wait_for_line(SerialPort* port, double share);

// Tells when the line has stopped moving: the transmit queue's count has
// stayed the same for STALL_LIMIT_MS.
// The watch starts at its first look, or when started again.
class LineStallWatch {
 public:
  void start() { started_ = false; }
  bool stalled(int queued_now);

 private:
  bool started_ = false;
  std::uint32_t since_ = 0;
  int last_queued_ = -1;
};

// Bytes that send_byte has put on the way since the counter was reset, on
// the calling thread.
std::uint64_t stream_bytes_sent();
void reset_stream_bytes_sent();

// Sends one byte (its low 8 bits): waits for room (sleeping by the line's
// clock), writes with a 100 ms time-out, retries every 100 ms while the
// handshake lines block. Any other refusal goes to the debugging output as
// "GL Error %d" with the code's name, and fails.
SendResult send_byte(SerialPort* port, int value);

inline constexpr unsigned char ESC = 0x1B, GS = 0x1D, CR = 0x0D, FF = 0x0C;
inline constexpr std::array<unsigned char, 3> RESET_SEQUENCE = {ESC, ESC, 'G'};
inline constexpr std::array<unsigned char, 3> DOT_SIZE_COMMAND = {ESC, ESC, 'D'};  // and the size byte

SendResult send_reset();                  // ESC ESC 'G'
SendResult send_dot_size(int ten_kind);   // ESC ESC 'D' and '0' '1' '2', or the low byte
SendResult send_cr();                     // CR
SendResult send_page_end();               // CR, FF, reset

// What each of them puts on the line.
inline constexpr std::size_t RESET_BYTES = RESET_SEQUENCE.size();
inline constexpr std::size_t DOT_SIZE_BYTES = DOT_SIZE_COMMAND.size() + 1;
inline constexpr std::size_t CR_BYTES = 1;
inline constexpr std::size_t PAGE_END_BYTES = CR_BYTES + 1 + RESET_BYTES;

// One cell: for each dot column a move group to the column's position, then
// a dot group per raised dot; CR and reset between the two columns. Bits 0-5
// of `pattern` are dots 1-6; higher bits are ignored.
SendResult plot_cell(int pattern, int x, int y, int dx, int dy, int back_pitch);

// The four address bytes of a position: high Y, low Y, high X, low X.
struct Address {
  std::uint8_t bytes[4];
};
Address encode_address(std::int64_t x, std::int64_t y);

inline constexpr std::size_t DOT_GROUP_BYTES = sizeof(Address::bytes);
inline constexpr std::size_t MOVE_GROUP_BYTES = 1 + DOT_GROUP_BYTES;  // GS and the address

// Bytes plot_cell sends for a pattern: two moves, CR and reset, and a dot
// group per raised dot (14 to 38).
std::size_t cell_byte_count(int pattern);

}  // namespace tenji
