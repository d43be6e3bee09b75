// A scripted comm device for what a pseudo-terminal cannot show: modem
// lines, line errors, refused line settings, queue sizes, a device that is
// gone, and a record of the opens tried.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "serial/comm_api.h"
#include "serial/serial_internal.h"

namespace tenji::testing {

struct FakeDevice {
  bool busy = false;                  // create_file fails with access denied
  int refuse_set_state = 0;           // this many set_comm_state calls fail
  std::uint32_t modem_status = 0x30;  // CTS and DSR on
  std::uint32_t next_errors = 0;      // error word of the next clear_comm_error
  bool hold = false;                  // the line takes no bytes
  bool gone = false;                  // writes and queries fail
  bool close_fails = false;
  bool modem_query_fails = false;
  DCB initial_dcb;  // what get_comm_state reports at open

  // Filled in by the fake.
  std::uint32_t out_queue_size = 0;
  std::deque<unsigned char> queue;  // waiting in the transmit queue
  std::string line;                 // bytes that have left the queue, in order
  std::vector<DCB> applied;         // every DCB handed to set_comm_state
  CommTimeouts timeouts;
  bool open = false;
  int purges = 0;
  std::vector<std::uint32_t> escapes;
};

class FakeCommApi final : public CommApi {
  using D = FakeDevice;

 public:
  FakeCommApi();  // in place of the platform's CommApi until destroyed

  // The device behind "\\.\COM<n>"; created on first use.
  FakeDevice& device(int com_number);

  std::uint32_t version = 0x0000000A;
  std::uint32_t tick = 1000;
  std::uint32_t tick_step = 1;     // each get_tick_count call advances the clock
  std::vector<std::string> calls;  // "create_file <name>" for every open tried
  std::vector<FoundPort> listed;   // the ports the machine would list
  std::string denied;              // what the system would say of a port the user may not open

  // Sets the calling thread's last error as a failing call would.
  void set_last_error(std::int32_t value) { fail(value); }

  // Runs `f` under the fake's lock, for tests that change a device while a
  // job uses it.
  template <typename F>
  auto locked(F&& f) {
    std::lock_guard lock(mutex_);
    return f();
  }

  CommHandle create_file(const char* device_name) override;
  bool clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) override;
  bool write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written, Overlapped* ov) override;
  bool set_comm_state(CommHandle h, const DCB* dcb) override {
    return on(h, [&](D& d) {
      if (d.refuse_set_state > 0) return --d.refuse_set_state, fail(ERROR_INVALID_PARAMETER_);
      return d.applied.push_back(*dcb), true;
    });
  }
  bool get_comm_state(CommHandle h, DCB* dcb) override {
    return on(h, [&](D& d) { *dcb = d.applied.empty() ? d.initial_dcb : d.applied.back(); });
  }
  bool setup_comm(CommHandle h, std::uint32_t, std::uint32_t n) override {
    return on(h, [&](D& d) { d.out_queue_size = n; });
  }
  bool get_comm_mask(CommHandle, std::uint32_t* mask) override { return *mask = 0x1FF, true; }
  bool set_comm_mask(CommHandle, std::uint32_t) override { return true; }
  bool get_comm_timeouts(CommHandle, CommTimeouts*) override { return true; }
  bool set_comm_timeouts(CommHandle h, const CommTimeouts* t) override { return on(h, [&](D& d) { d.timeouts = *t; }); }
  // Nothing ever arrives.
  bool read_file(CommHandle, void*, std::uint32_t, std::uint32_t* got, Overlapped*) override { return *got = 0, true; }
  bool get_overlapped_result(CommHandle, Overlapped* ov, std::uint32_t* n, bool) override {
    return *n = ov->transferred, true;
  }
  bool get_comm_modem_status(CommHandle h, std::uint32_t* status) override {
    return on(h, [&](D& d) {
      return d.modem_query_fails ? fail(ERROR_INVALID_PARAMETER_) : (*status = d.modem_status, true);
    });
  }
  bool purge_comm(CommHandle h, std::uint32_t flags) override {
    return on(h, [&](D& d) { ++d.purges; if (flags & PURGE_TXCLEAR) d.queue.clear(); });
  }
  bool set_comm_break(CommHandle) override { return true; }
  bool clear_comm_break(CommHandle) override { return true; }
  bool escape_comm_function(CommHandle h, std::uint32_t f) override {
    return on(h, [&](D& d) { d.escapes.push_back(f); });
  }
  bool close_handle(CommHandle h) override {
    return on(h, [](D& d) { return d.open = false, d.close_fails ? fail(ERROR_GEN_FAILURE_) : true; });
  }
  std::int32_t get_last_error() override;
  std::uint32_t get_version() override { return locked([&] { return version; }); }
  std::uint32_t get_tick_count() override { return locked([&] { return tick += tick_step; }); }
  std::vector<FoundPort> ports() override { return locked([&] { return listed; }); }
  std::string access_problem(const char*) override { return locked([&] { return denied; }); }

 private:
  // Runs `f` on the open device behind `h`, under the lock; true unless `f` says otherwise.
  template <typename F>
  bool on(CommHandle h, F&& f) {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(static_cast<int>(h));
    if (it == devices_.end() || !it->second.open) return fail(ERROR_INVALID_HANDLE_);
    if constexpr (std::is_void_v<decltype(f(it->second))>) return f(it->second), true;
    else return f(it->second);
  }
  static bool fail(std::int32_t error);

  std::recursive_mutex mutex_;
  std::map<int, FakeDevice> devices_;
  platform::ScopedHook<CommApi*> installed_;
};

// Another idle hook in the driver for the life of the object; by default one
// that yields at once, so waits against the fake take no wall time.
struct IdleHookOverride : platform::ScopedHook<IdleHook> {
  explicit IdleHookOverride(IdleHook hook = [](SerialPort*) { return std::this_thread::yield(), 0; })
      : ScopedHook(serial_driver_defaults.idle_hook, hook) {}
};

}  // namespace tenji::testing
