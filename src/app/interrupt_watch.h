// Ctrl-C (and SIGTERM) cancel a print from the command line: the job stops
// after the cell in progress.
#pragma once

#include <atomic>
#include <thread>

namespace tenji {

class InterruptWatch {
 public:
  InterruptWatch();   // from here on, an interrupt calls cancel_printing()
  ~InterruptWatch();  // and from here on no longer
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
#if !defined(_WIN32)
  // A thread of its own takes the signals, since a signal handler may not
  // wake the job (that takes a lock).
  std::thread watcher_;
  std::atomic<bool> stopping_{false};
#endif
};

}  // namespace tenji
