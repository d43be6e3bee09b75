// The embosser as the line sees it. Bytes come off the line (the pseudo-
// terminal's master side) no faster than the line speed into a receive
// buffer the size of a small embosser's; the mechanism takes them from there.
// When the buffer runs nearly full the embosser sends XOFF, and XON once it
// has room again. A job is what arrives while the port is open: opens and
// closes are watched on the device itself, so jobs printed back to back
// never merge.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace tenji::embosser {

struct LineOptions {
  long baud = 0;         // 0: take bytes as fast as they come
  long hold_after = -1;  // after this many bytes of a job the mechanism stops...
  long hold_ms = 0;      // ...for this long
};

struct FinishedJob {
  std::string bytes;
  double first_byte_at = 0, last_byte_at = 0;  // arrival off the line, monotonic seconds
};

class Embosser {
 public:
  static constexpr std::size_t RECEIVE_BUFFER = 512;
  static constexpr std::size_t XOFF_AT = 384;  // room is left for what is already on its way
  static constexpr std::size_t XON_AT = 128;
  // A job whose client has gone ends once the line has been quiet this long.
  static constexpr std::chrono::milliseconds QUIET{50};

  // `master`: the pseudo-terminal's master side; `slave_path`: its device.
  Embosser(const LineOptions& o, int master, const std::string& slave_path);
  ~Embosser();
  bool ready() const { return watch_ >= 0 && own_slave_ >= 0; }

  // One round: device events, the line, the mechanism, flow control. Calls
  // `done` for every job that has ended.
  void step(const std::function<void(FinishedJob&&)>& done);

 private:
  using Clock = std::chrono::steady_clock;
  struct Job {
    FinishedJob out;
    bool open = true;  // its client still has the port
    // After the close: its bytes still on the line when the close was seen,
    // and, until the next client opens, whatever else comes (a kernel may
    // still be passing on what the client wrote).
    long unread = 0;
    bool last = true;  // no client has opened since
    Clock::time_point quiet_since{};  // the line found empty since
    std::size_t buffered = 0;
    bool held = false;  // the mechanism's hold has come for this job
  };
  void device_events();
  void line(Clock::time_point now);
  void mechanism(Clock::time_point now);
  void flow_control(Clock::time_point now);
  void send_flow(bool on);
  Job* line_job();
  double burst() const;

  LineOptions o_;
  int master_, own_slave_ = -1, watch_ = -1;
  int clients_ = 0;
  std::deque<Job> jobs_;
  std::deque<Job*> buffer_;  // the receive buffer: which job each byte is for...
  std::string buffer_bytes_; // ...and the byte
  double line_budget_ = 0, take_budget_ = 0;
  Clock::time_point line_at_, take_at_, hold_until_{};
  bool xoff_sent_ = false;
};

}  // namespace tenji::embosser
