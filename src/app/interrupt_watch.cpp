#include "app/interrupt_watch.h"

#include <csignal>

#include "print/printing_flag.h"

#if !defined(_WIN32)
#include <pthread.h>
#include <signal.h>
#endif

namespace tenji {

#if defined(_WIN32)

namespace {
// The runtime calls a SIGINT handler on a thread of its own, so it may
// take locks.
void on_interrupt(int) {
  cancel_printing();
  std::signal(SIGINT, on_interrupt);
}
}  // namespace

InterruptWatch::InterruptWatch() { std::signal(SIGINT, on_interrupt); }
InterruptWatch::~InterruptWatch() { std::signal(SIGINT, SIG_DFL); }

#else

namespace {
sigset_t interrupts() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}
}  // namespace

// Threads started from here on (the job) inherit the blocked signals, so
// only the watcher takes them.
InterruptWatch::InterruptWatch() {
  const sigset_t set = interrupts();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  watcher_ = std::thread([this, set] {
    for (int signal = 0; sigwait(&set, &signal) == 0 && !stopping_.load();) cancel_printing();
  });
}

InterruptWatch::~InterruptWatch() {
  stopping_.store(true);
  pthread_kill(watcher_.native_handle(), SIGTERM);
  watcher_.join();
  // An interrupt that came meanwhile is taken here, not by the default action.
  const sigset_t set = interrupts();
  timespec none{};
  while (sigtimedwait(&set, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

#endif

}  // namespace tenji
