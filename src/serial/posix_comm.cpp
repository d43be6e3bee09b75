// The comm calls over POSIX termios. The transmit queue that SetupComm asks
// for is kept here, in front of the kernel's own buffer: what the kernel
// refuses (a line held by XOFF) waits here and counts as queued. How much
// may be on its way at once is the driver's business (its line model).
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/serial.h>
#endif

#include "serial/com_device_path.h"
#include "serial/comm_api.h"
#include "serial/port_access.h"
#include "serial/posix_termios.h"

namespace tenji {

namespace {

thread_local std::int32_t last_error = 0;

std::int32_t windows_error_for(int err) {
  switch (err) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return ERROR_FILE_NOT_FOUND_;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND_;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      return ERROR_ACCESS_DENIED_;
    case EINVAL:
      return ERROR_INVALID_PARAMETER_;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY_;
    default:
      return ERROR_GEN_FAILURE_;
  }
}

// A pseudo-terminal has no modem lines; those ioctls fail there.
bool no_modem_lines(int err) { return err == ENOTTY || err == EINVAL; }

struct Device {
  int fd = -1;
  std::deque<unsigned char> queue;
  std::uint32_t queue_size = 4096;
  DCB dcb;
  std::uint32_t event_mask = 0;
  CommTimeouts timeouts;
  bool gone = false;
  std::uint32_t pending_errors = 0;
#if defined(TIOCGICOUNT)
  serial_icounter_struct counts{};
  bool have_counts = false;
  bool counters_missing = false;
  std::chrono::steady_clock::time_point errors_at{};
#endif

  // The kernel's own counts are asked at most once a millisecond, and a
  // write the line refused is not tried again within that millisecond: a job
  // looks at the queue before every byte, and each look would otherwise cost
  // several system calls.
  using Clock = std::chrono::steady_clock;
  static constexpr auto REQUERY = std::chrono::milliseconds(1);
  Clock::time_point counts_at{};
  int kernel_out = 0, kernel_in = 0;
  Clock::time_point refused_at{};

  void refresh_counts(Clock::time_point now, bool force = false) {
    if (!force && now - counts_at < REQUERY) return;
    counts_at = now;
    if (::ioctl(fd, TIOCOUTQ, &kernel_out) != 0) kernel_out = 0;
    if (::ioctl(fd, FIONREAD, &kernel_in) != 0) kernel_in = 0;
    // A device that went away (an adapter pulled out, the far end of a
    // pseudo-terminal closed) hangs the tty up: seen here even while
    // nothing is written, as when the job waits for the line to drain.
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) gone = true;
  }

  // Bytes are handed to the kernel in chunks of this size, when they have
  // waited a millisecond, or when the driver says its caller is about to
  // sleep: a write a byte would cost a system call a byte.
  static constexpr std::size_t CHUNK = 64;
  Clock::time_point queued_at{};

  // Moves queued bytes to the device as far as it takes them.
  void pump(Clock::time_point now, bool all = false) {
    if (gone || queue.empty()) return;
    if (!all && queue.size() < CHUNK && now - queued_at < REQUERY) return;
    if (now - refused_at < REQUERY) return;
    while (!queue.empty()) {
      unsigned char chunk[512];
      const std::size_t n = std::min(queue.size(), sizeof chunk);
      std::copy_n(queue.begin(), n, chunk);
      const ssize_t w = ::write(fd, chunk, n);
      if (w > 0) {
        queue.erase(queue.begin(), queue.begin() + w);
        continue;
      }
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {  // the line is held
        refused_at = now;
        return;
      }
      gone = true;  // EIO, ENXIO: unplugged, or the far end is gone
      return;
    }
  }

  std::uint32_t out_count() const {
    const std::uint64_t n = queue.size() + static_cast<std::uint64_t>(kernel_out);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(n, queue_size));
  }

  std::uint32_t collect_line_errors(Clock::time_point now) {
    std::uint32_t e = pending_errors;
    pending_errors = 0;
#if defined(TIOCGICOUNT)
    // Devices without error counters (a pseudo-terminal) are not asked again.
    if (counters_missing || now - errors_at < REQUERY) return e;
    errors_at = now;
    serial_icounter_struct current{};
    if (::ioctl(fd, TIOCGICOUNT, &current) != 0) {
      counters_missing = true;
      return e;
    }
    if (have_counts) {
      if (current.frame != counts.frame) e |= CE_FRAME;
      if (current.overrun != counts.overrun) e |= CE_OVERRUN;
      if (current.parity != counts.parity) e |= CE_RXPARITY;
      if (current.brk != counts.brk) e |= CE_BREAK;
      if (current.buf_overrun != counts.buf_overrun) e |= CE_RXOVER;
    }
    counts = current;
    have_counts = true;
#endif
    return e;
  }

  void set_modem_line(int line, bool on) {
    int bits = line;
    (void)::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits);
  }
};

class PosixCommApi final : public CommApi {
 public:
  CommHandle create_file(const char* device_name) override {
    const int com = com_number_from_device_name(device_name);
    if (com == 0) return fail_handle(ERROR_FILE_NOT_FOUND_);
    const std::string path = com_device_path(com);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail_handle(windows_error_for(errno));
    if (!::isatty(fd)) {
      ::close(fd);
      return fail_handle(ERROR_FILE_NOT_FOUND_);
    }
    // Unshared: a second open of a port in use is refused, in this process
    // and in others (TIOCEXCL alone does not stop root).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return fail_handle(ERROR_ACCESS_DENIED_);
    }
    (void)::ioctl(fd, TIOCEXCL);
    auto dev = std::make_unique<Device>();
    dev->fd = fd;
    termios t{};
    if (::tcgetattr(fd, &t) == 0) dev->dcb = dcb_from_termios(t);
    std::lock_guard lock(mutex_);
    const CommHandle h = next_handle_++;
    devices_[h] = std::move(dev);
    return h;
  }

  bool setup_comm(CommHandle h, std::uint32_t, std::uint32_t out_queue) override {
    return with(h, [&](Device& d) {
      d.queue_size = out_queue > 0 ? out_queue : d.queue_size;
      return true;
    });
  }

  bool get_comm_mask(CommHandle h, std::uint32_t* mask) override {
    return with(h, [&](Device& d) {
      *mask = d.event_mask;
      return true;
    });
  }

  bool set_comm_mask(CommHandle h, std::uint32_t mask) override {
    return with(h, [&](Device& d) {
      d.event_mask = mask;
      return true;
    });
  }

  bool get_comm_state(CommHandle h, DCB* dcb) override {
    return with(h, [&](Device& d) {
      *dcb = d.dcb;
      return true;
    });
  }

  bool set_comm_state(CommHandle h, const DCB* dcb) override {
    return with(h, [&](Device& d) {
      termios t{};
      if (::tcgetattr(d.fd, &t) != 0) return fail(windows_error_for(errno));
      if (!termios_from_dcb(*dcb, t)) return fail(ERROR_INVALID_PARAMETER_);
      if (::tcsetattr(d.fd, TCSANOW, &t) != 0) return fail(windows_error_for(errno));
      if (dcb->fDtrControl != DTR_CONTROL_HANDSHAKE) d.set_modem_line(TIOCM_DTR, dcb->fDtrControl != 0);
      if (dcb->fRtsControl != RTS_CONTROL_HANDSHAKE) d.set_modem_line(TIOCM_RTS, dcb->fRtsControl != 0);
      d.dcb = *dcb;
      return true;
    });
  }

  bool get_comm_timeouts(CommHandle h, CommTimeouts* t) override {
    return with(h, [&](Device& d) {
      *t = d.timeouts;
      return true;
    });
  }

  bool set_comm_timeouts(CommHandle h, const CommTimeouts* t) override {
    return with(h, [&](Device& d) {
      d.timeouts = *t;
      return true;
    });
  }

  bool clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) override {
    return with(h, [&](Device& d) {
      const auto now = Device::Clock::now();  // one look at the clock serves the whole query
      d.pump(now);
      if (stat) d.refresh_counts(now);
      if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
      if (errors) *errors = d.collect_line_errors(now);
      if (stat) {
        stat->cbInQue = static_cast<std::uint32_t>(d.kernel_in);
        stat->cbOutQue = d.out_count();
      }
      return true;
    });
  }

  bool write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written,
                  Overlapped* ov) override {
    return with(h, [&](Device& d) {
      if (written) *written = 0;
      if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
      const std::uint32_t room = d.queue_size - d.out_count();
      const std::uint32_t take = std::min(n, room);
      const auto* p = static_cast<const unsigned char*>(bytes);
      const auto now = Device::Clock::now();
      if (d.queue.empty()) d.queued_at = now;
      d.queue.insert(d.queue.end(), p, p + take);
      d.pump(now);
      if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);  // the bytes went nowhere
      if (written) *written = take;
      if (ov) ov->transferred = take;
      return true;
    });
  }

  bool read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) override {
    return with(h, [&](Device& d) {
      if (got) *got = 0;
      if (ov) ov->transferred = 0;
      const ssize_t r = ::read(d.fd, buffer, n);
      if (r < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return true;
        d.gone = true;
        return fail(ERROR_DEVICE_NOT_CONNECTED_);
      }
      if (got) *got = static_cast<std::uint32_t>(r);
      if (ov) ov->transferred = static_cast<std::uint32_t>(r);
      d.refresh_counts(Device::Clock::now(), true);
      return true;
    });
  }

  bool get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool) override {
    // Transfers finish at once here; the record keeps the last count.
    return with(h, [&](Device&) {
      *n = ov ? ov->transferred : 0;
      return true;
    });
  }

  bool get_comm_modem_status(CommHandle h, std::uint32_t* status) override {
    return with(h, [&](Device& d) {
      int bits = 0;
      if (::ioctl(d.fd, TIOCMGET, &bits) != 0) {
        if (!no_modem_lines(errno)) return fail(windows_error_for(errno));
        // A pseudo-terminal's far end is always there: CTS and DSR on.
        *status = MS_CTS_ON_ | MS_DSR_ON_;
        return true;
      }
      std::uint32_t s = 0;
      if (bits & TIOCM_CTS) s |= MS_CTS_ON_;
      if (bits & TIOCM_DSR) s |= MS_DSR_ON_;
      if (bits & TIOCM_RNG) s |= MS_RING_ON_;
      if (bits & TIOCM_CAR) s |= MS_RLSD_ON_;
      *status = s;
      return true;
    });
  }

  bool purge_comm(CommHandle h, std::uint32_t flags) override {
    return with(h, [&](Device& d) {
      if (flags & (PURGE_TXCLEAR | PURGE_TXABORT)) {
        d.queue.clear();
        (void)::tcflush(d.fd, TCOFLUSH);
      }
      if (flags & (PURGE_RXCLEAR | PURGE_RXABORT)) (void)::tcflush(d.fd, TCIFLUSH);
      d.refresh_counts(Device::Clock::now(), true);
      return true;
    });
  }

  bool set_comm_break(CommHandle h) override {
    return with(h, [&](Device& d) { return ::ioctl(d.fd, TIOCSBRK) == 0 || no_modem_lines(errno); });
  }

  bool clear_comm_break(CommHandle h) override {
    return with(h, [&](Device& d) { return ::ioctl(d.fd, TIOCCBRK) == 0 || no_modem_lines(errno); });
  }

  bool escape_comm_function(CommHandle h, std::uint32_t function) override {
    return with(h, [&](Device& d) {
      switch (function) {
        case SETDTR: d.set_modem_line(TIOCM_DTR, true); return true;
        case CLRDTR: d.set_modem_line(TIOCM_DTR, false); return true;
        case SETRTS: d.set_modem_line(TIOCM_RTS, true); return true;
        case CLRRTS: d.set_modem_line(TIOCM_RTS, false); return true;
        case SETXOFF: return ::tcflow(d.fd, TCOOFF) == 0;
        case SETXON: return ::tcflow(d.fd, TCOON) == 0;
        default: return fail(ERROR_INVALID_PARAMETER_);
      }
    });
  }

  bool close_handle(CommHandle h) override {
    std::unique_ptr<Device> dev;
    {
      std::lock_guard lock(mutex_);
      auto it = devices_.find(h);
      if (it == devices_.end()) return fail(ERROR_INVALID_HANDLE_);
      dev = std::move(it->second);
      devices_.erase(it);
    }
    (void)::ioctl(dev->fd, TIOCNXCL);  // exclusive mode outlives the fd otherwise
    return ::close(dev->fd) == 0 || fail(windows_error_for(errno));
  }

  bool flush_written(CommHandle h) override {
    return with(h, [&](Device& d) {
      d.pump(Device::Clock::now(), true);
      return !d.gone || fail(ERROR_DEVICE_NOT_CONNECTED_);
    });
  }

  std::string device_path(const char* device_name) override {
    const int com = com_number_from_device_name(device_name);
    if (com == 0) return device_name;
    const std::string path = com_device_path(com);
    std::error_code ec;
    const auto target = std::filesystem::read_symlink(path, ec);
    return ec ? path : path + " -> " + target.string();
  }

  std::vector<FoundPort> ports() override { return system_ports(); }

  std::string access_problem(const char* device_name) override {
    const int com = com_number_from_device_name(device_name);
    return com == 0 ? "" : permission_problem(com_device_path(com)).value_or("");
  }

  std::int32_t get_last_error() override { return last_error; }

  std::uint32_t get_version() override { return 0x0000000Au; }  // an NT-style version word

  std::uint32_t get_tick_count() override {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }

 private:
  static bool fail(std::int32_t error) {
    last_error = error;
    return false;
  }

  static CommHandle fail_handle(std::int32_t error) {
    last_error = error;
    return INVALID_COMM_HANDLE;
  }

  template <typename F>
  bool with(CommHandle h, F&& f) {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(h);
    if (it == devices_.end()) return fail(ERROR_INVALID_HANDLE_);
    return f(*it->second);
  }

  std::mutex mutex_;
  std::map<CommHandle, std::unique_ptr<Device>> devices_;
  CommHandle next_handle_ = 1;
};

}  // namespace

CommApi& platform_comm_api() {
  static PosixCommApi api;
  return api;
}

}  // namespace tenji
