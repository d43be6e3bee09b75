#include "print/stream_sender.h"

#include <climits>

#include "print/emboss_job.h"
#include "serial/serial_port.h"

namespace tenji {

StreamSender::StreamSender(const PrintSettings& s)
    : s_(s), dx_(mm_to_steps(s.TEN_HEIGHT, VERTICAL_STEP_MM)), dy_(mm_to_steps(s.TEN_WIDTH, HORIZONTAL_STEP_MM)) {}

bool StreamSender::cell(const CellPlace& c) {
  if (c.first_on_page && !sent(send_dot_size(s_.TEN_KIND))) return false;
  return sent(plot_cell(c.pattern, c.x, c.y, dx_, dy_, s_.BACK_PITCH));
}

bool StreamSender::end_page(int, int) { return sent(send_page_end()); }

namespace {

// A port that keeps what it is sent. The record comes first, so that the
// port's operations find the bytes.
struct MemoryPort {
  SerialPort port{};
  std::string* bytes = nullptr;
};

int memory_room(SerialPort*) { return INT_MAX; }
int memory_write(SerialPort* p, int value) {
  reinterpret_cast<MemoryPort*>(p)->bytes->push_back(static_cast<char>(value));
  return 0;
}

}  // namespace

std::string print_stream(const PrintSettings& s, const BrailleDocument& doc, const WalkOptions& o) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(planned_stream_bytes(s, doc, o.copies, o.pages)));
  MemoryPort memory;
  memory.bytes = &bytes;
  memory.port.tx_free = memory_room;
  memory.port.write_byte = memory_write;
  SerialPort* const saved = current_port;
  current_port = &memory.port;
  StreamSender sender(s);
  if (send_reset() == SendResult::sent && walk_print(s, doc, o, sender)) send_cr();
  current_port = saved;
  return bytes;
}

}  // namespace tenji
