#include "print/printing_flag.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tenji {

std::atomic<int> printing_flag{0};

namespace {
std::mutex cancel_mutex;
std::condition_variable cancelled;
}  // namespace

void cancel_printing() {
  printing_flag.store(0);
  { std::lock_guard lock(cancel_mutex); }  // a sleeper between its look and its wait sees the store
  cancelled.notify_all();
}

void sleep_unless_cancelled(int ms) {
  const auto span = std::chrono::milliseconds(ms);
  if (printing_flag.load() == 0) {  // already cancelled: a plain sleep
    std::this_thread::sleep_for(span);
    return;
  }
  std::unique_lock lock(cancel_mutex);
  cancelled.wait_for(lock, span, [] { return printing_flag.load() == 0; });
}

}  // namespace tenji
