// A scripted comm device for what a pseudo-terminal cannot show: modem
// lines, line errors, refused line settings, queue sizes and draining, a
// device that is gone, and a record of every call.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "serial/comm_api.h"
#include "serial/serial_internal.h"

namespace tenji::testing {

struct FakeDevice {
  bool exists = true;
  bool busy = false;                    // create_file fails with access denied
  int refuse_set_state = 0;             // this many set_comm_state calls fail
  std::uint32_t modem_status = 0x30;    // CTS and DSR on
  std::uint32_t next_errors = 0;        // error word of the next clear_comm_error
  bool hold = false;                    // the line takes no bytes
  std::uint32_t drain_per_query = 1u << 30;  // bytes the line takes per queue query
  bool gone = false;                    // writes and queries fail
  bool close_fails = false;
  bool modem_query_fails = false;
  DCB initial_dcb;                      // what get_comm_state reports at open

  // Filled in by the fake.
  std::uint32_t out_queue_size = 0;
  std::deque<unsigned char> queue;  // waiting in the transmit queue
  std::string line;                 // bytes that have left the queue, in order
  std::string received;             // bytes waiting to be read
  std::vector<DCB> applied;         // every DCB handed to set_comm_state
  CommTimeouts timeouts;
  bool open = false;
  int purges = 0;
  std::vector<std::uint32_t> escapes;
  int breaks_set = 0, breaks_cleared = 0;
};

class FakeCommApi final : public CommApi {
 public:
  FakeCommApi();  // in place of the platform's CommApi until destroyed

  // The device behind "\\.\COM<n>"; created on first use.
  FakeDevice& device(int com_number);

  std::uint32_t version = 0x0000000A;
  std::uint32_t tick = 1000;
  std::uint32_t tick_step = 1;  // each get_tick_count call advances the clock
  std::vector<std::string> calls;

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
  bool setup_comm(CommHandle h, std::uint32_t in_queue, std::uint32_t out_queue) override;
  bool get_comm_mask(CommHandle h, std::uint32_t* mask) override;
  bool set_comm_mask(CommHandle h, std::uint32_t mask) override;
  bool get_comm_state(CommHandle h, DCB* dcb) override;
  bool set_comm_state(CommHandle h, const DCB* dcb) override;
  bool get_comm_timeouts(CommHandle h, CommTimeouts* t) override;
  bool set_comm_timeouts(CommHandle h, const CommTimeouts* t) override;
  bool clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) override;
  bool write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written,
                  Overlapped* ov) override;
  bool read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) override;
  bool get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool wait) override;
  bool get_comm_modem_status(CommHandle h, std::uint32_t* status) override;
  bool purge_comm(CommHandle h, std::uint32_t flags) override;
  bool set_comm_break(CommHandle h) override;
  bool clear_comm_break(CommHandle h) override;
  bool escape_comm_function(CommHandle h, std::uint32_t function) override;
  bool close_handle(CommHandle h) override;
  std::int32_t get_last_error() override;
  std::uint32_t get_version() override;
  std::uint32_t get_tick_count() override;

 private:
  template <typename F>
  bool on(CommHandle h, const char* name, F&& f);
  static bool fail(std::int32_t error);
  void drain(FakeDevice& d);

  std::recursive_mutex mutex_;
  std::map<int, FakeDevice> devices_;
  platform::ScopedHook<CommApi*> installed_;
};

// Another idle hook in the driver for the life of the object; by default one
// that yields at once, so waits against the fake take no wall time.
class IdleHookOverride {
 public:
  explicit IdleHookOverride(IdleHook hook = nullptr);

 private:
  platform::ScopedHook<IdleHook> scoped_;
};

}  // namespace tenji::testing
