// A serial port: a plain record carrying its own table of operations, filled
// by the driver at open, with a not-supported default in every slot.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tenji {

// Driver error codes; 0 is success.
enum : int {
  ASOK = 0,
  ASFAILURE = -1,
  ASBADPORTID = -2,
  ASPORTBUSY = -3,
  ASOUTOFMEMORY = -5,
  ASNORXDATA = -8,
  ASTXQUEUEFULL = -9,
  ASNODEVICE = -14,
  ASUNSUPPORTED = -24,
  ASBADBAUD = -25,
  ASBADPARITY = -26,
  ASBADDATABITS = -27,
  ASBADSTOPBITS = -28,
  ASHANDSHAKEBLOCK = -36,
};

inline constexpr int MS_CTS_ON = 0x10;

struct SerialPort;
struct SerialDriverRecord;

// Receives one line of a port dump.
using LineSink = std::function<void(const char* line)>;
// Called while the driver waits; a negative result aborts the wait.
using IdleHook = int (*)(SerialPort* port);

struct SerialPort {
  SerialDriverRecord* driver;
  SerialPort* next;
  std::int32_t port_index;
  std::int32_t status;
  std::int32_t driver_kind;
  std::int32_t reserved_a;
  std::uint32_t count;

  int (*read_byte)(SerialPort*);
  int (*reserved_op_1)(SerialPort*);
  int (*write_byte)(SerialPort*, int value);
  int (*close)(SerialPort*);
  int (*set_line)(SerialPort*, int baud, int parity, int data_bits, int stop_bits);
  int (*set_xon_xoff)(SerialPort*, int on);
  int (*set_rts_cts)(SerialPort*, int on);
  int (*set_dtr_dsr)(SerialPort*, int on);
  int (*set_dtr)(SerialPort*, int on);
  int (*set_rts)(SerialPort*, int on);
  int (*tx_free)(SerialPort*);
  int (*tx_used)(SerialPort*);
  int (*rx_free)(SerialPort*);
  int (*rx_used)(SerialPort*);
  int (*clear_tx_buffer)(SerialPort*);
  int (*write_block)(SerialPort*, const void* bytes, unsigned n);
  int (*read_block)(SerialPort*, void* buffer, unsigned n);
  int (*dump_port)(SerialPort*, const LineSink& sink);
  int (*send_break)(SerialPort*, int ms);
  int (*modem_status)(SerialPort*);
  int (*line_status)(SerialPort*);
  int (*clear_line_status)(SerialPort*);
  int (*reserved_op_2)(SerialPort*);
  void (*clear_error)(SerialPort*);

  std::int32_t reserved_b;
};

// Opens COM<port_index + 1> with the line values. Never returns null; the
// caller tests `status` and disposes of the port with its close operation.
SerialPort* port_open(int port_index, int baud, int parity, int data_bits, int stop_bits);

// Closes every port still open, newest first; runs at process exit.
void close_all_ports();

// 16 when CTS is on, 0 when off, a negative code passes through.
int cts_on(SerialPort* port);

// Writes one byte, retrying while the queue is full until `timeout_ms` has
// passed (-1: no limit), calling the idle hook between tries. `status` is
// left as it was on entry.
int write_byte_timed(SerialPort* port, int value, int timeout_ms);

// Waits `ms` milliseconds, calling the idle hook; its negative result ends
// the wait early and is returned.
int idle_wait(SerialPort* port, int ms);

// What a caller that waits for the line does between two looks: the idle
// hook once. Its negative result means "stop waiting".
int port_idle(SerialPort* port);

// Milliseconds until `share` (0 to 1) of what may be on the way at once is
// free again, as the driver reckons the line (0 when it is now). A held line
// may take longer: look again.
int port_ms_until_room(SerialPort* port, double share);

// Waits about `ms` for the line through `sleep` (which may return early, on
// Cancel), or, with an idle hook in place, calls the hook once instead.
// The hook's negative result is returned.
int port_wait(SerialPort* port, int ms, void (*sleep)(int ms));

// The driver's millisecond clock (wraps after 49 days; compare differences).
std::uint32_t port_tick_count();

// Where COM<port_index + 1> is on this machine, for messages.
std::string port_device_path(int port_index);

// Why the user may not open COM<port_index + 1>, in words they can act on:
// the group that owns its device and the command that joins it. Empty when
// rights are not what keeps it shut.
std::string port_access_problem(int port_index);

// The port opened but refused the line settings; its status says how.
bool port_refused_line(const SerialPort* port);

// "ASNODEVICE" for -14, and so on; "AS?" for a code that has no name.
const char* as_error_name(int code);
// What the code means, in a few words of English for a technician.
const char* as_error_meaning(int code);

}  // namespace tenji
