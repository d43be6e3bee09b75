// The comm calls over the platform's own serial functions. Our headers come
// before <windows.h>, whose macros share names with their constants.
#include "serial/comm_api.h"

#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <windows.h>

namespace tenji {

namespace {

// The last error of the calling thread's last comm call, taken before any
// lock is let go (which may overwrite the platform's own).
thread_local DWORD last_comm_error = 0;

// One record per write that the platform leaves pending, with its own copy
// of the bytes: both must stay alive until the transfer completes, and no
// write waits for the line.
struct PendingWrite {
  OVERLAPPED ov{};
  std::vector<unsigned char> bytes;
};

struct Port {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::list<PendingWrite> writes;
  OVERLAPPED read_ov{};

  void reap_finished_writes() {
    for (auto it = writes.begin(); it != writes.end();) {
      DWORD n = 0;
      if (GetOverlappedResult(handle, &it->ov, &n, FALSE) || GetLastError() != ERROR_IO_INCOMPLETE) {
        CloseHandle(it->ov.hEvent);
        it = writes.erase(it);
      } else {
        ++it;
      }
    }
  }

  ~Port() {
    if (!writes.empty()) CancelIo(handle);
    for (auto& w : writes) {
      DWORD n = 0;
      GetOverlappedResult(handle, &w.ov, &n, TRUE);
      CloseHandle(w.ov.hEvent);
    }
    if (read_ov.hEvent) CloseHandle(read_ov.hEvent);
  }
};

::DCB to_win32(const DCB& d, const ::DCB& base) {
  ::DCB w = base;
  w.DCBlength = sizeof w;
  w.BaudRate = d.BaudRate;
  w.fBinary = d.fBinary;
  w.fParity = d.fParity;
  w.fOutxCtsFlow = d.fOutxCtsFlow;
  w.fOutxDsrFlow = d.fOutxDsrFlow;
  w.fDtrControl = d.fDtrControl;
  w.fDsrSensitivity = d.fDsrSensitivity;
  w.fTXContinueOnXoff = d.fTXContinueOnXoff;
  w.fOutX = d.fOutX;
  w.fInX = d.fInX;
  w.fErrorChar = d.fErrorChar;
  w.fNull = d.fNull;
  w.fRtsControl = d.fRtsControl;
  w.fAbortOnError = d.fAbortOnError;
  w.XonLim = d.XonLim;
  w.XoffLim = d.XoffLim;
  w.ByteSize = d.ByteSize;
  w.Parity = d.Parity;
  w.StopBits = d.StopBits;
  w.XonChar = d.XonChar;
  w.XoffChar = d.XoffChar;
  w.ErrorChar = d.ErrorChar;
  w.EofChar = d.EofChar;
  w.EvtChar = d.EvtChar;
  return w;
}

DCB from_win32(const ::DCB& w) {
  DCB d;
  d.BaudRate = w.BaudRate;
  d.fBinary = static_cast<std::uint8_t>(w.fBinary);
  d.fParity = static_cast<std::uint8_t>(w.fParity);
  d.fOutxCtsFlow = static_cast<std::uint8_t>(w.fOutxCtsFlow);
  d.fOutxDsrFlow = static_cast<std::uint8_t>(w.fOutxDsrFlow);
  d.fDtrControl = static_cast<std::uint8_t>(w.fDtrControl);
  d.fDsrSensitivity = static_cast<std::uint8_t>(w.fDsrSensitivity);
  d.fTXContinueOnXoff = static_cast<std::uint8_t>(w.fTXContinueOnXoff);
  d.fOutX = static_cast<std::uint8_t>(w.fOutX);
  d.fInX = static_cast<std::uint8_t>(w.fInX);
  d.fErrorChar = static_cast<std::uint8_t>(w.fErrorChar);
  d.fNull = static_cast<std::uint8_t>(w.fNull);
  d.fRtsControl = static_cast<std::uint8_t>(w.fRtsControl);
  d.fAbortOnError = static_cast<std::uint8_t>(w.fAbortOnError);
  d.XonLim = w.XonLim;
  d.XoffLim = w.XoffLim;
  d.ByteSize = w.ByteSize;
  d.Parity = w.Parity;
  d.StopBits = w.StopBits;
  d.XonChar = w.XonChar;
  d.XoffChar = w.XoffChar;
  d.ErrorChar = w.ErrorChar;
  d.EofChar = w.EofChar;
  d.EvtChar = w.EvtChar;
  return d;
}

class Win32CommApi final : public CommApi {
 public:
  CommHandle create_file(const char* device_name) override {
    HANDLE h = CreateFileA(device_name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    last_comm_error = GetLastError();
    if (h == INVALID_HANDLE_VALUE) return INVALID_COMM_HANDLE;
    auto port = std::make_unique<Port>();
    port->handle = h;
    port->read_ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::lock_guard lock(mutex_);
    const CommHandle id = next_++;
    ports_[id] = std::move(port);
    return id;
  }

  bool setup_comm(CommHandle h, std::uint32_t in, std::uint32_t out) override {
    return with(h, [&](Port& p) { return SetupComm(p.handle, in, out) != 0; });
  }
  bool get_comm_mask(CommHandle h, std::uint32_t* mask) override {
    return with(h, [&](Port& p) {
      DWORD m = 0;
      const bool ok = GetCommMask(p.handle, &m);
      *mask = m;
      return ok;
    });
  }
  bool set_comm_mask(CommHandle h, std::uint32_t mask) override {
    return with(h, [&](Port& p) { return SetCommMask(p.handle, mask) != 0; });
  }
  bool get_comm_state(CommHandle h, DCB* dcb) override {
    return with(h, [&](Port& p) {
      ::DCB w{};
      w.DCBlength = sizeof w;
      if (!GetCommState(p.handle, &w)) return false;
      *dcb = from_win32(w);
      return true;
    });
  }
  bool set_comm_state(CommHandle h, const DCB* dcb) override {
    return with(h, [&](Port& p) {
      ::DCB base{};
      base.DCBlength = sizeof base;
      GetCommState(p.handle, &base);
      ::DCB w = to_win32(*dcb, base);
      return SetCommState(p.handle, &w) != 0;
    });
  }
  bool get_comm_timeouts(CommHandle h, CommTimeouts* t) override {
    return with(h, [&](Port& p) {
      COMMTIMEOUTS w{};
      if (!GetCommTimeouts(p.handle, &w)) return false;
      *t = {w.ReadIntervalTimeout, w.ReadTotalTimeoutMultiplier, w.ReadTotalTimeoutConstant,
            w.WriteTotalTimeoutMultiplier, w.WriteTotalTimeoutConstant};
      return true;
    });
  }
  bool set_comm_timeouts(CommHandle h, const CommTimeouts* t) override {
    return with(h, [&](Port& p) {
      COMMTIMEOUTS w{t->ReadIntervalTimeout, t->ReadTotalTimeoutMultiplier, t->ReadTotalTimeoutConstant,
                     t->WriteTotalTimeoutMultiplier, t->WriteTotalTimeoutConstant};
      return SetCommTimeouts(p.handle, &w) != 0;
    });
  }
  bool clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) override {
    return with(h, [&](Port& p) {
      p.reap_finished_writes();
      DWORD e = 0;
      COMSTAT s{};
      if (!ClearCommError(p.handle, &e, &s)) return false;
      if (errors) *errors = e;
      if (stat) *stat = {s.cbInQue, s.cbOutQue};
      return true;
    });
  }
  bool write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written, Overlapped* ov) override {
    return with(h, [&](Port& p) {
      p.reap_finished_writes();
      auto& w = p.writes.emplace_back();
      w.bytes.assign(static_cast<const unsigned char*>(bytes), static_cast<const unsigned char*>(bytes) + n);
      w.ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      DWORD done = 0;
      const BOOL ok = WriteFile(p.handle, w.bytes.data(), n, &done, &w.ov);
      const DWORD error = GetLastError();
      if (written) *written = done;
      if (ov) ov->transferred = done;
      if (!ok && error == ERROR_IO_PENDING) {
        SetLastError(error);
        return false;  // queued; the record stays until it completes
      }
      CloseHandle(w.ov.hEvent);
      p.writes.pop_back();
      SetLastError(error);
      return ok != 0;
    });
  }
  bool read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) override {
    return with(h, [&](Port& p) {
      DWORD done = 0;
      ResetEvent(p.read_ov.hEvent);
      const BOOL ok = ReadFile(p.handle, buffer, n, &done, &p.read_ov);
      if (got) *got = done;
      if (ov) ov->transferred = done;
      return ok != 0;
    });
  }
  bool get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool wait) override {
    return with(h, [&](Port& p) {
      DWORD done = 0;
      const BOOL ok = GetOverlappedResult(p.handle, &p.read_ov, &done, wait ? TRUE : FALSE);
      *n = done;
      if (ov) ov->transferred = done;
      return ok != 0;
    });
  }
  bool get_comm_modem_status(CommHandle h, std::uint32_t* status) override {
    return with(h, [&](Port& p) {
      DWORD s = 0;
      const bool ok = GetCommModemStatus(p.handle, &s);
      *status = s;
      return ok;
    });
  }
  bool purge_comm(CommHandle h, std::uint32_t flags) override {
    return with(h, [&](Port& p) { return PurgeComm(p.handle, flags) != 0; });
  }
  bool set_comm_break(CommHandle h) override {
    return with(h, [&](Port& p) { return SetCommBreak(p.handle) != 0; });
  }
  bool clear_comm_break(CommHandle h) override {
    return with(h, [&](Port& p) { return ClearCommBreak(p.handle) != 0; });
  }
  bool escape_comm_function(CommHandle h, std::uint32_t function) override {
    return with(h, [&](Port& p) { return EscapeCommFunction(p.handle, function) != 0; });
  }
  bool close_handle(CommHandle h) override {
    std::unique_ptr<Port> port;
    {
      std::lock_guard lock(mutex_);
      auto it = ports_.find(h);
      if (it == ports_.end()) {
        last_comm_error = ERROR_INVALID_HANDLE;
        return false;
      }
      port = std::move(it->second);
      ports_.erase(it);
    }
    const HANDLE handle = port->handle;
    port.reset();  // pending writes are finished or cancelled first
    const bool ok = CloseHandle(handle) != 0;
    last_comm_error = GetLastError();
    return ok;
  }
  std::int32_t get_last_error() override { return static_cast<std::int32_t>(last_comm_error); }
  std::uint32_t get_version() override {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersion();
#pragma GCC diagnostic pop
  }
  std::uint32_t get_tick_count() override { return GetTickCount(); }
  std::vector<FoundPort> ports() override { return system_ports(); }

 private:
  template <typename F>
  bool with(CommHandle h, F&& f) {
    std::lock_guard lock(mutex_);
    auto it = ports_.find(h);
    if (it == ports_.end()) {
      last_comm_error = ERROR_INVALID_HANDLE;
      return false;
    }
    const bool ok = f(*it->second);
    last_comm_error = GetLastError();
    return ok;
  }

  std::mutex mutex_;
  std::map<CommHandle, std::unique_ptr<Port>> ports_;
  CommHandle next_ = 1;
};

}  // namespace

CommApi& platform_comm_api() {
  static Win32CommApi api;
  return api;
}

}  // namespace tenji
