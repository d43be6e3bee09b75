#include "serial/serial_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/idle.h"

namespace tenji {

namespace {

CommApi& api() { return comm_api(); }

SerialDriverRecord& record(SerialPort* port) { return *port->driver; }

// Applies the whole DCB; on refusal stores and returns the mapped code.
int apply_dcb(SerialPort* port) {
  if (api().set_comm_state(record(port).handle, &record(port).dcb)) return 0;
  port->status = map_last_error();
  return port->status;
}

// Queries the device's error word and counts; the word collects in line_errors.
ComStat query_device(SerialPort* port) {
  std::uint32_t errors = 0;
  ComStat stat;
  api().clear_comm_error(record(port).handle, &errors, &stat);
  record(port).line_errors |= errors;
  return stat;
}

int op_set_xon_xoff(SerialPort* port, int on) {
  DCB& dcb = record(port).dcb;
  dcb.fOutX = dcb.fInX = on ? 1 : 0;
  return apply_dcb(port);
}

int op_set_rts_cts(SerialPort* port, int on) {
  DCB& dcb = record(port).dcb;
  dcb.fOutxCtsFlow = on ? 1 : 0;
  dcb.fRtsControl = on ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
  return apply_dcb(port);
}

int op_set_dtr_dsr(SerialPort* port, int on) {
  DCB& dcb = record(port).dcb;
  dcb.fOutxDsrFlow = on ? 1 : 0;
  dcb.fDtrControl = on ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_DISABLE;
  return apply_dcb(port);
}

int op_set_dtr(SerialPort* port, int on) {
  record(port).dcb.fDtrControl = on ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  api().set_comm_state(record(port).handle, &record(port).dcb);
  return 0;
}

int op_set_rts(SerialPort* port, int on) {
  record(port).dcb.fRtsControl = on ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
  api().set_comm_state(record(port).handle, &record(port).dcb);
  return 0;
}

// Bytes a millisecond the line carries: ten bit times a byte (start bit,
// eight data bits, stop bit). 0 when the speed is not known.
double bytes_per_ms(const DCB& dcb) {
  const std::uint32_t baud = dcb.BaudRate == 0x1FF00 ? 128000 : dcb.BaudRate == 0x3FF00 ? 256000 : dcb.BaudRate;
  return baud / 10000.0;
}

// How many bytes may be on the way at once: LINE_AHEAD_MS of line time, at
// least one byte, never more than the transmit queue asked for.
std::uint32_t line_budget(const SerialDriverRecord& rec) {
  const double rate = bytes_per_ms(rec.dcb);
  if (rate <= 0) return rec.tx_queue_size;
  const auto ahead = static_cast<std::uint32_t>(std::ceil(rate * LINE_AHEAD_MS));
  return std::clamp<std::uint32_t>(ahead, 1, std::max<std::uint32_t>(rec.tx_queue_size, 1));
}

// What is still on its way: the model's count, or what the device says it
// still holds (a held line keeps its bytes there), whichever is more.
std::uint32_t in_flight(SerialPort* port, const ComStat& stat) {
  SerialDriverRecord& rec = record(port);
  const std::uint32_t now = api().get_tick_count();
  const double rate = bytes_per_ms(rec.dcb);
  const double carried = rate > 0 ? static_cast<double>(now - rec.line.at) * rate : rec.line.in_flight;
  rec.line.at = now;
  rec.line.in_flight = std::max(rec.line.in_flight - carried, static_cast<double>(stat.cbOutQue));
  return static_cast<std::uint32_t>(std::ceil(rec.line.in_flight));
}

std::uint32_t room(SerialPort* port, const ComStat& stat) {
  const std::uint32_t used = in_flight(port, stat), budget = line_budget(record(port));
  return used < budget ? budget - used : 0;
}

int op_tx_free(SerialPort* port) { return static_cast<int>(room(port, query_device(port))); }
int op_tx_used(SerialPort* port) { return static_cast<int>(in_flight(port, query_device(port))); }
int op_rx_free(SerialPort* port) {
  return static_cast<int>(static_cast<std::uint32_t>(record(port).rx_queue_size) - query_device(port).cbInQue);
}
int op_rx_used(SerialPort* port) { return static_cast<int>(query_device(port).cbInQue); }

int op_clear_tx_buffer(SerialPort* port) {
  record(port).line.in_flight = 0;
  if (api().purge_comm(record(port).handle, PURGE_TXCLEAR)) return 0;
  port->status = map_last_error();
  return port->status;
}

int op_write_block(SerialPort* port, const void* bytes, unsigned n) {
  SerialDriverRecord& rec = record(port);
  std::uint32_t take = room(port, query_device(port));
  if (take > n) take = n;
  std::uint32_t written = 0;
  const bool ok = api().write_file(rec.handle, bytes, take, &written, &rec.overlapped);
  port->count = written;
  if (!ok) {
    if (api().get_last_error() == ERROR_IO_PENDING_) {
      port->count = take;  // queued; nothing waits for the line
    } else {
      query_device(port);
    }
  }
  rec.line.in_flight += port->count;
  if (port->count >= n) return 0;
  port->status = ASTXQUEUEFULL;
  return ASTXQUEUEFULL;
}

int op_read_block(SerialPort* port, void* buffer, unsigned n) {
  SerialDriverRecord& rec = record(port);
  const ComStat stat = query_device(port);
  if (stat.cbInQue == 0) {
    port->count = 0;
    return ASNORXDATA;
  }
  const std::uint32_t take = n < stat.cbInQue ? n : stat.cbInQue;
  std::uint32_t got = 0;
  const bool ok = api().read_file(rec.handle, buffer, take, &got, &rec.overlapped);
  port->count = got;
  if (!ok && api().get_last_error() != ERROR_IO_PENDING_) query_device(port);
  if (port->count >= n) return 0;
  std::uint32_t finished = 0;
  if (api().get_overlapped_result(rec.handle, &rec.overlapped, &finished, true)) {
    port->count = finished;
    return 0;
  }
  return ASNORXDATA;
}

int op_write_byte(SerialPort* port, int value) {
  const unsigned char byte = static_cast<unsigned char>(value & 0xFF);
  return op_write_block(port, &byte, 1);
}

int op_read_byte(SerialPort* port) {
  unsigned char byte = 0;
  const int r = op_read_block(port, &byte, 1);
  return r == 0 ? byte : r;
}

int op_send_break(SerialPort* port, int ms) {
  api().set_comm_break(record(port).handle);
  idle_wait(port, ms);
  api().clear_comm_break(record(port).handle);
  return 0;
}

// A device that cannot tell its modem lines (a pseudo-terminal under some
// systems, some adapters) answers with a negative code instead of a word
// with every line off, so that it is not taken for an embosser without CTS.
int op_modem_status(SerialPort* port) {
  std::uint32_t word = 0;
  if (!api().get_comm_modem_status(record(port).handle, &word)) return map_last_error();
  return static_cast<int>(word & 0xFF);
}

int op_line_status(SerialPort* port) {
  query_device(port);
  return static_cast<int>(record(port).line_errors & 0x1E);
}

int op_clear_line_status(SerialPort* port) {
  record(port).line_errors = 0;
  return 0;
}

int op_close(SerialPort* port) {
  const CommHandle h = record(port).handle;
  api().escape_comm_function(h, CLRDTR);
  api().escape_comm_function(h, CLRRTS);
  const bool closed = api().close_handle(h);
  const int result = closed ? 0 : map_last_error();
  delete port->driver;
  port->driver = nullptr;
  release_port(port);
  return result;
}

bool tick_reached(std::uint32_t start, int ms) {
  if (ms < 0) return true;
  return api().get_tick_count() - start >= static_cast<std::uint32_t>(ms);
}

}  // namespace

int open_device(SerialPort* port, int port_index) {
  SerialDriverRecord& rec = record(port);
  rec.rx_queue_size = serial_driver_defaults.rx_queue_size;
  rec.tx_queue_size = serial_driver_defaults.tx_queue_size;
  rec.line_errors = 0;

  // Any index gives a well-formed name; one that is out of range just does
  // not open.
  char name[32];
  std::snprintf(name, sizeof name, "\\\\.\\COM%lld", static_cast<long long>(port_index) + 1);
  const CommHandle h = api().create_file(name);
  port->status = 0;
  if (h == INVALID_COMM_HANDLE) {
    port->status = map_last_error();
    return port->status;
  }
  rec.handle = h;
  api().setup_comm(h, static_cast<std::uint32_t>(rec.rx_queue_size), rec.tx_queue_size);
  api().get_comm_mask(h, &rec.saved_event_mask);
  api().set_comm_mask(h, 0);
  api().get_comm_state(h, &rec.dcb);

  DCB& dcb = rec.dcb;
  dcb.fBinary = 1;
  dcb.fParity = 0;
  dcb.fNull = 0;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  dcb.XonLim = dcb.XoffLim = static_cast<std::uint16_t>(rec.rx_queue_size / 4);
  dcb.EofChar = 0;
  dcb.EvtChar = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fOutxCtsFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;

  api().get_comm_timeouts(h, &rec.saved_timeouts);
  CommTimeouts t;
  t.ReadIntervalTimeout = 0xFFFFFFFFu;  // reads return at once with what has arrived
  api().set_comm_timeouts(h, &t);
  return port->status;
}

int driver_set_line(SerialPort* port, int baud, int parity, int data_bits, int stop_bits) {
  DCB& dcb = record(port).dcb;
  std::uint32_t rate;
  if (baud <= 57600) {
    rate = static_cast<std::uint32_t>(baud);
  } else if (baud == 128000) {
    rate = 0x1FF00;
  } else if (baud == 256000) {
    rate = 0x3FF00;
  } else {
    port->status = ASBADBAUD;
    return ASBADBAUD;
  }
  dcb.BaudRate = rate;
  dcb.ByteSize = static_cast<std::uint8_t>(data_bits & 0xFF);

  switch (parity & ~0x20) {
    case 'E': dcb.Parity = EVENPARITY; break;
    case 'M': dcb.Parity = MARKPARITY; break;
    case 'N': dcb.Parity = NOPARITY; break;
    case 'O': dcb.Parity = ODDPARITY; break;
    case 'S': dcb.Parity = SPACEPARITY; break;
    default:
      port->status = ASBADPARITY;
      return ASBADPARITY;
  }
  if (stop_bits == 1) {
    dcb.StopBits = ONESTOPBIT;
  } else if (stop_bits == 2) {
    dcb.StopBits = TWOSTOPBITS;
  } else {
    port->status = ASBADSTOPBITS;
    return ASBADSTOPBITS;
  }
  if (!api().set_comm_state(record(port).handle, &dcb)) port->status = map_last_error();
  return port->status;
}

void install_driver_operations(SerialPort* port) {
  port->read_byte = op_read_byte;
  port->write_byte = op_write_byte;
  port->close = op_close;
  port->set_line = driver_set_line;
  port->set_xon_xoff = op_set_xon_xoff;
  port->set_rts_cts = op_set_rts_cts;
  port->set_dtr_dsr = op_set_dtr_dsr;
  port->set_dtr = op_set_dtr;
  port->set_rts = op_set_rts;
  port->tx_free = op_tx_free;
  port->tx_used = op_tx_used;
  port->rx_free = op_rx_free;
  port->rx_used = op_rx_used;
  port->clear_tx_buffer = op_clear_tx_buffer;
  port->write_block = op_write_block;
  port->read_block = op_read_block;
  port->dump_port = driver_dump;
  port->send_break = op_send_break;
  port->modem_status = op_modem_status;
  port->line_status = op_line_status;
  port->clear_line_status = op_clear_line_status;
}

int write_byte_timed(SerialPort* port, int value, int timeout_ms) {
  const int saved = port->status;
  std::uint32_t start = 0;
  for (bool first = true;; first = false) {
    port->status = 0;
    const int result = port->write_byte(port, value);
    port->status = saved;
    if (result == 0) return 0;
    if (result != ASTXQUEUEFULL && result != ASHANDSHAKEBLOCK) return result;
    if (first) start = api().get_tick_count();  // the time-out counts from the first refusal
    if (timeout_ms != -1 && tick_reached(start, timeout_ms)) return result;
    const int hook = port_idle(port);
    if (hook < 0) return hook;
  }
}

int idle_wait(SerialPort* port, int ms) {
  const std::uint32_t start = api().get_tick_count();
  for (;;) {
    if (tick_reached(start, ms)) return 0;
    const int hook = port_idle(port);
    if (hook < 0) return hook;
  }
}

int port_ms_until_room(SerialPort* port, double share) {
  if (!port->driver || port->tx_free != op_tx_free) return 0;
  SerialDriverRecord& rec = record(port);
  api().flush_written(rec.handle);  // the caller is about to sleep: the line must not run dry
  const double rate = bytes_per_ms(rec.dcb);
  const double budget = line_budget(rec);
  const double over = static_cast<double>(op_tx_used(port)) - budget * (1.0 - std::clamp(share, 0.0, 1.0));
  if (over <= 0 || rate <= 0) return 0;
  return static_cast<int>(std::ceil(over / rate));
}

int drain_message_queue(SerialPort*) {
  platform::serve_messages_and_yield();
  return 0;
}

}  // namespace tenji
