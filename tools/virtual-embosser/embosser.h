// The embosser as the line sees it. Bytes come off the line (the pseudo-
// terminal's master side) no faster than the line speed into a receive
// buffer the size of a small embosser's; the mechanism takes them from there.
// When the buffer runs nearly full the embosser sends XOFF, and XON once it
// has room again.
//
// A job is what its client writes between its open and its close of the
// port (a second program that opens the port meanwhile belongs to the same
// job). Opens, writes and closes are watched on the device itself, and every
// read of the line is bracketed by looks at those events, so each byte is
// charged to the client that can have written it: a client's bytes all went
// in before its close was reported, and the next client's came after its
// open and before its write was reported. Only when two clients' writes both
// fall between the same two looks can the split not be told; such a job is
// saved with its boundary marked uncertain instead of being guessed.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
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
  double first_byte_at = 0, last_byte_at = 0;  // off the line, monotonic seconds
  bool boundary_certain = true;  // no other client's bytes can be among them
};

class Embosser {
 public:
  static constexpr std::size_t RECEIVE_BUFFER = 512;
  static constexpr std::size_t XOFF_AT = 384;  // room is left for what is already on its way
  static constexpr std::size_t XON_AT = 128;

  // `master`: the pseudo-terminal's master side (non-blocking); `slave_path`:
  // its device.
  Embosser(const LineOptions& o, int master, const std::string& slave_path);
  ~Embosser();
  Embosser(const Embosser&) = delete;
  Embosser& operator=(const Embosser&) = delete;
  bool ready() const { return watch_ >= 0 && own_slave_ >= 0; }

  // What to wait on between steps: the device's events, and the line.
  int events_fd() const { return watch_; }
  // The longest wait before the next step: bytes on the line or in the
  // buffer need the clock; otherwise only an event can bring work.
  int wait_ms() const;

  // One round: the device's events and bytes, the line, the mechanism, flow
  // control. Calls `done` for every job that has ended, in order.
  void step(const std::function<void(FinishedJob&&)>& done);

 private:
  using Clock = std::chrono::steady_clock;
  struct Job {
    FinishedJob out;
    std::string line;          // read off the device; from `line_sent` on still to come down the line
    std::size_t line_sent = 0;
    bool open = true;          // a client still has the port
    bool complete = false;     // every byte its clients wrote has been read
    std::uint64_t last_write = 0;  // number of the last write event seen for it
    std::size_t buffered = 0;  // its bytes in the receive buffer
    bool held = false;         // the mechanism's hold has come for this job
    bool waiting() const { return line_sent < line.size(); }
  };
  void look();
  void read_events();
  std::string read_device();
  void charge(std::string bytes, std::uint64_t window_start, Job* newest_at_read);
  Job* newest_open_job();
  void line(Clock::time_point now);
  void mechanism(Clock::time_point now);
  void flow_control();
  void send_flow(bool on);

  LineOptions o_;
  int master_, own_slave_ = -1, watch_ = -1;
  int clients_ = 0;
  std::uint64_t events_seen_ = 0;  // events numbered in the order the device reported them
  std::uint64_t seen_before_last_read_ = 0;
  std::deque<Job> jobs_;
  std::deque<Job*> buffer_;    // the receive buffer: which job each byte is for...
  std::deque<char> buffer_bytes_;  // ...and the byte
  Clock::time_point line_at_, take_at_, hold_until_{};
  bool xoff_sent_ = false;
};

}  // namespace tenji::embosser
