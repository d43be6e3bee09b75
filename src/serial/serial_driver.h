// The serial driver behind SerialPort: it opens and prepares a COM port and
// serves every table operation through the CommApi.
#pragma once

#include <cstdint>

#include "serial/comm_api.h"
#include "serial/serial_internal.h"

namespace tenji {

// The wire as the driver reckons it: bytes handed to the device that the
// line cannot yet have carried at its speed. Devices do not all say what
// they still hold (a pseudo-terminal says nothing, USB adapters say too
// little), so the driver keeps its own count.
struct LineModel {
  double in_flight = 0;
  std::uint32_t at = 0;  // tick of the last reckoning
};

// Never more than this much line time is on its way beyond what the line
// can have carried: Cancel, progress and the end of a job then describe the
// paper, not a buffer.
inline constexpr int LINE_AHEAD_MS = 250;

struct SerialDriverRecord {
  std::int32_t rx_queue_size;
  std::uint32_t tx_queue_size;
  DCB dcb;  // the driver's model of the line; every setter applies it whole
  std::uint32_t line_errors;
  std::uint32_t saved_event_mask;
  std::uint32_t uart_word;
  CommHandle handle;
  CommTimeouts saved_timeouts;
  Overlapped overlapped;
  LineModel line;
};

// Opens "\\.\COM<port_index + 1>" and prepares the DCB (applied by the
// set_line that follows). 0, or a code also stored in `status`.
int open_device(SerialPort* port, int port_index);

// The set_line operation: baud, parity letter (E M N O S, either case), data
// bits, stop bits (1 or 2). Returns `status` after the call.
int driver_set_line(SerialPort* port, int baud, int parity, int data_bits, int stop_bits);

// Fills every slot but the two reserved ones and clear_error.
void install_driver_operations(SerialPort* port);

// The default idle hook: serves the calling thread's pending messages where
// the platform has them, then yields the processor briefly. Always 0.
int drain_message_queue(SerialPort* port);

// The full dump of a port opened by this driver.
int driver_dump(SerialPort* port, const LineSink& sink);

}  // namespace tenji
