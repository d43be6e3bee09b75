// The operating system's serial-communication calls, shaped like Win32 so
// that one driver serves every platform; only the CommApi behind it changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hook.h"
#include "serial/port_list.h"

namespace tenji {

using CommHandle = std::intptr_t;
inline constexpr CommHandle INVALID_COMM_HANDLE = -1;

// Windows' last-error values that the driver and the backends use.
enum : std::int32_t {
  ERROR_SUCCESS_ = 0,
  ERROR_FILE_NOT_FOUND_ = 2,
  ERROR_PATH_NOT_FOUND_ = 3,
  ERROR_ACCESS_DENIED_ = 5,
  ERROR_INVALID_HANDLE_ = 6,
  ERROR_NOT_ENOUGH_MEMORY_ = 8,
  ERROR_GEN_FAILURE_ = 31,
  ERROR_SHARING_VIOLATION_ = 32,
  ERROR_INVALID_PARAMETER_ = 87,
  ERROR_OPERATION_ABORTED_ = 995,
  ERROR_IO_PENDING_ = 997,
  ERROR_DEVICE_NOT_CONNECTED_ = 1167,
};

enum : std::uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
enum : std::uint8_t { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };
enum : std::uint8_t { DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2 };
enum : std::uint8_t { RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2 };

// ClearCommError's error word.
enum : std::uint32_t {
  CE_RXOVER = 0x0001,
  CE_OVERRUN = 0x0002,
  CE_RXPARITY = 0x0004,
  CE_FRAME = 0x0008,
  CE_BREAK = 0x0010,
  CE_TXFULL = 0x0100,
  CE_MODE = 0x8000,
};

// GetCommModemStatus's word.
enum : std::uint32_t { MS_CTS_ON_ = 0x10, MS_DSR_ON_ = 0x20, MS_RING_ON_ = 0x40, MS_RLSD_ON_ = 0x80 };

enum : std::uint32_t { PURGE_TXABORT = 0x1, PURGE_RXABORT = 0x2, PURGE_TXCLEAR = 0x4, PURGE_RXCLEAR = 0x8 };
enum : std::uint32_t { SETXOFF = 1, SETXON = 2, SETRTS = 3, CLRRTS = 4, SETDTR = 5, CLRDTR = 6 };

// The device control block: the line as the driver wants it.
struct DCB {
  std::uint32_t BaudRate = 0;
  std::uint8_t fBinary = 0;
  std::uint8_t fParity = 0;
  std::uint8_t fOutxCtsFlow = 0;
  std::uint8_t fOutxDsrFlow = 0;
  std::uint8_t fDtrControl = 0;
  std::uint8_t fDsrSensitivity = 0;
  std::uint8_t fTXContinueOnXoff = 0;
  std::uint8_t fOutX = 0;
  std::uint8_t fInX = 0;
  std::uint8_t fErrorChar = 0;
  std::uint8_t fNull = 0;
  std::uint8_t fRtsControl = 0;
  std::uint8_t fAbortOnError = 0;
  std::uint16_t XonLim = 0;
  std::uint16_t XoffLim = 0;
  std::uint8_t ByteSize = 0;
  std::uint8_t Parity = 0;
  std::uint8_t StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;

  bool operator==(const DCB&) const = default;
};

struct CommTimeouts {
  std::uint32_t ReadIntervalTimeout = 0;
  std::uint32_t ReadTotalTimeoutMultiplier = 0;
  std::uint32_t ReadTotalTimeoutConstant = 0;
  std::uint32_t WriteTotalTimeoutMultiplier = 0;
  std::uint32_t WriteTotalTimeoutConstant = 0;
};

struct ComStat {
  std::uint32_t cbInQue = 0;
  std::uint32_t cbOutQue = 0;
};

// The completion record of an overlapped transfer. Backends may keep their
// own state behind `backend`; `transferred` is the byte count of the last
// transfer made on the record.
struct Overlapped {
  std::uint32_t transferred = 0;
  void* backend = nullptr;
};

class CommApi {
 public:
  virtual ~CommApi() = default;

  // Opens a device name such as "\\.\COM1" for reading and writing, unshared,
  // existing only, overlapped. INVALID_COMM_HANDLE on failure.
  virtual CommHandle create_file(const char* device_name) = 0;
  virtual bool setup_comm(CommHandle h, std::uint32_t in_queue, std::uint32_t out_queue) = 0;
  virtual bool get_comm_mask(CommHandle h, std::uint32_t* mask) = 0;
  virtual bool set_comm_mask(CommHandle h, std::uint32_t mask) = 0;
  virtual bool get_comm_state(CommHandle h, DCB* dcb) = 0;
  virtual bool set_comm_state(CommHandle h, const DCB* dcb) = 0;
  virtual bool get_comm_timeouts(CommHandle h, CommTimeouts* t) = 0;
  virtual bool set_comm_timeouts(CommHandle h, const CommTimeouts* t) = 0;
  // The error word gathered since the last call (and cleared), and the queue counts.
  virtual bool clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) = 0;
  virtual bool write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written,
                          Overlapped* ov) = 0;
  virtual bool read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) = 0;
  virtual bool get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool wait) = 0;
  virtual bool get_comm_modem_status(CommHandle h, std::uint32_t* status) = 0;
  virtual bool purge_comm(CommHandle h, std::uint32_t flags) = 0;
  virtual bool set_comm_break(CommHandle h) = 0;
  virtual bool clear_comm_break(CommHandle h) = 0;
  virtual bool escape_comm_function(CommHandle h, std::uint32_t function) = 0;
  virtual bool close_handle(CommHandle h) = 0;
  // The calling thread's last error, in Windows' numbers.
  virtual std::int32_t get_last_error() = 0;
  virtual std::uint32_t get_version() = 0;
  virtual std::uint32_t get_tick_count() = 0;
  // Hands the device what a backend still keeps of written bytes: the
  // driver calls it before its caller sleeps. Backends that hand every byte
  // on at once have nothing to do.
  virtual bool flush_written(CommHandle) { return true; }
  // Where a device name such as "\\.\COM1" leads on this machine, for
  // messages.
  virtual std::string device_path(const char* device_name) { return device_name; }
  // The serial ports of this machine, as the user recognises them.
  virtual std::vector<FoundPort> ports() { return {}; }
  // Why the user may not open the device behind `device_name`, in words
  // they can act on; empty when that is not what keeps it shut.
  virtual std::string access_problem(const char*) { return {}; }
};

// The CommApi the driver uses: the platform's own unless the hook holds
// another. Replace it only while no port is in use.
CommApi& comm_api();
extern platform::Hook<CommApi*> comm_api_hook;

// The platform's own CommApi.
CommApi& platform_comm_api();

}  // namespace tenji
