// The driver's own state behind SerialPort: the defaults every open copies,
// the list of live ports, the fallback port and the table's defaults. Only
// the serial driver and its tests use these.
#pragma once

#include <cstdint>

#include "platform/hook.h"
#include "serial/serial_port.h"

namespace tenji {

inline constexpr int WINDOWS_DRIVER_KIND = 15;

struct SerialDriverDefaults {
  std::int32_t rx_queue_size;
  std::uint32_t tx_queue_size;
  // Called while the driver waits; drain_message_queue when empty.
  platform::Hook<IdleHook> idle_hook;
};
extern SerialDriverDefaults serial_driver_defaults;

// Every live port, newest first, linked through `next`.
extern SerialPort* open_ports;
extern int exit_hook_registered;
extern SerialPort fallback_port;

void init_port(SerialPort* port);
void release_port(SerialPort* port);
int map_last_error();

// The defaults that init_port installs.
int default_close(SerialPort* port);
int default_dump(SerialPort* port, const LineSink& sink);
void clear_error(SerialPort* port);

}  // namespace tenji
