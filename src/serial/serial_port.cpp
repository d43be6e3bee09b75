#include "serial/serial_port.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/allocation_fault.h"
#include "serial/comm_api.h"
#include "serial/serial_driver.h"
#include "serial/serial_internal.h"

namespace tenji {

SerialDriverDefaults serial_driver_defaults = {1050, 1050, {}};
SerialPort* open_ports = nullptr;
int exit_hook_registered = 0;
SerialPort fallback_port = {};

namespace {

// Stores ASUNSUPPORTED whatever further arguments the slot takes.
template <typename... Args>
int op_not_supported(SerialPort* port, Args...) {
  port->status = ASUNSUPPORTED;
  return ASUNSUPPORTED;
}

bool is_linked(const SerialPort* port) {
  for (const SerialPort* p = open_ports; p; p = p->next)
    if (p == port) return true;
  return false;
}

SerialPort* use_fallback_port() {
  // The fallback may still be linked from an earlier failure; linking it a
  // second time would make the list of open ports circular.
  if (!is_linked(&fallback_port)) init_port(&fallback_port);
  fallback_port.driver = nullptr;
  fallback_port.status = ASOUTOFMEMORY;
  fallback_port.port_index = -1;
  fallback_port.driver_kind = -1;
  return &fallback_port;
}

template <typename T>
T* allocate_zeroed() {
  if (platform::allocation_should_fail()) return nullptr;
  return new (std::nothrow) T{};
}

}  // namespace

void init_port(SerialPort* port) {
  if (exit_hook_registered == 0) {
    std::atexit(close_all_ports);
    exit_hook_registered = 1;
  }
  port->next = open_ports;
  open_ports = port;
  port->reserved_a = 0;
  port->reserved_b = 0;

  port->read_byte = op_not_supported;
  port->reserved_op_1 = op_not_supported;
  port->write_byte = op_not_supported;
  port->close = default_close;
  port->set_line = op_not_supported;
  port->set_xon_xoff = op_not_supported;
  port->set_rts_cts = op_not_supported;
  port->set_dtr_dsr = op_not_supported;
  port->set_dtr = op_not_supported;
  port->set_rts = op_not_supported;
  port->tx_free = op_not_supported;
  port->tx_used = op_not_supported;
  port->rx_free = op_not_supported;
  port->rx_used = op_not_supported;
  port->clear_tx_buffer = op_not_supported;
  port->write_block = op_not_supported;
  port->read_block = op_not_supported;
  port->dump_port = default_dump;
  port->send_break = op_not_supported;
  port->modem_status = op_not_supported;
  port->line_status = op_not_supported;
  port->clear_line_status = op_not_supported;
  port->reserved_op_2 = op_not_supported;
  port->clear_error = clear_error;
}

void release_port(SerialPort* port) {
  for (SerialPort** link = &open_ports; *link; link = &(*link)->next) {
    if (*link == port) {
      *link = port->next;
      break;
    }
  }
  if (port == &fallback_port) {
    fallback_port.next = nullptr;
    return;
  }
  delete port->driver;
  delete port;
}

void close_all_ports() {
  while (open_ports) open_ports->close(open_ports);
}

int map_last_error() {
  switch (comm_api().get_last_error()) {
    case 2:
    case 3:
    case -10:
      return ASNODEVICE;
    case 5:
    case -2:
      return ASPORTBUSY;
    case -12:
      return ASBADBAUD;
    case -11:
      return ASBADDATABITS;
    case -4:
      return ASOUTOFMEMORY;
    case -1:
      return ASBADPORTID;
    default:
      return ASFAILURE;
  }
}

int cts_on(SerialPort* port) {
  const int status = port->modem_status(port);
  if (status <= 0) return status;
  return status & MS_CTS_ON;
}

int default_close(SerialPort* port) {
  release_port(port);
  return 0;
}

void clear_error(SerialPort* port) { port->status = 0; }

SerialPort* port_open(int port_index, int baud, int parity, int data_bits, int stop_bits) {
  SerialPort* port = allocate_zeroed<SerialPort>();
  if (!port) return use_fallback_port();
  init_port(port);

  // Win32s (16-bit Windows 3.x with the 32-bit extension) has no comm driver.
  const std::uint32_t version = comm_api().get_version();
  if ((version & 0x80000000u) && (version & 0xFFu) == 3) {
    port->status = ASUNSUPPORTED;
    return port;
  }

  SerialDriverRecord* record = allocate_zeroed<SerialDriverRecord>();
  if (!record) {
    release_port(port);
    return use_fallback_port();
  }
  port->driver = record;
  port->port_index = port_index;
  port->driver_kind = WINDOWS_DRIVER_KIND;

  if (open_device(port, port_index) < 0) return port;
  driver_set_line(port, baud, parity, data_bits, stop_bits);
  install_driver_operations(port);
  return port;
}

int port_idle(SerialPort* port) {
  const IdleHook hook = serial_driver_defaults.idle_hook.get();
  return hook ? hook(port) : drain_message_queue(port);
}

int port_wait(SerialPort* port, int ms, void (*sleep)(int ms)) {
  if (const IdleHook hook = serial_driver_defaults.idle_hook.get()) return hook(port);
  sleep(ms);
  return 0;
}

std::uint32_t port_tick_count() { return comm_api().get_tick_count(); }

namespace {

std::string device_name(int port_index) {
  char name[32];
  std::snprintf(name, sizeof name, "\\\\.\\COM%lld", static_cast<long long>(port_index) + 1);
  return name;
}

}  // namespace

std::string port_device_path(int port_index) { return comm_api().device_path(device_name(port_index).c_str()); }

std::string port_access_problem(int port_index) {
  return comm_api().access_problem(device_name(port_index).c_str());
}

bool port_refused_line(const SerialPort* port) { return port->status != 0 && port->close != default_close; }

namespace {

struct CodeText {
  int code;
  const char* name;
  const char* meaning;
};

constexpr CodeText CODE_TEXTS[] = {
    {ASOK, "ASOK", "success"},
    {ASFAILURE, "ASFAILURE", "the system refused the call"},
    {ASBADPORTID, "ASBADPORTID", "no such port number"},
    {ASPORTBUSY, "ASPORTBUSY", "the port is in use by another program"},
    {ASOUTOFMEMORY, "ASOUTOFMEMORY", "out of memory"},
    {ASNORXDATA, "ASNORXDATA", "nothing received"},
    {ASTXQUEUEFULL, "ASTXQUEUEFULL", "the transmit queue is full"},
    {ASNODEVICE, "ASNODEVICE", "no such device"},
    {ASUNSUPPORTED, "ASUNSUPPORTED", "not supported by this port"},
    {ASBADBAUD, "ASBADBAUD", "line speed not accepted"},
    {ASBADPARITY, "ASBADPARITY", "parity not accepted"},
    {ASBADDATABITS, "ASBADDATABITS", "data bits not accepted"},
    {ASBADSTOPBITS, "ASBADSTOPBITS", "stop bits not accepted"},
    {ASHANDSHAKEBLOCK, "ASHANDSHAKEBLOCK", "the handshake lines hold the line"},
};

const CodeText* code_text(int code) {
  for (const auto& c : CODE_TEXTS)
    if (c.code == code) return &c;
  return nullptr;
}

}  // namespace

const char* as_error_name(int code) {
  const CodeText* c = code_text(code);
  return c ? c->name : "AS?";
}

const char* as_error_meaning(int code) {
  const CodeText* c = code_text(code);
  return c ? c->meaning : "unknown code";
}

}  // namespace tenji
