// A JobObserver that records what the job told it and lets a test wait for
// the end of the job.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "print/job_observer.h"

namespace tenji::testing {

class RecordingObserver final : public JobObserver {
 public:
  struct Message {
    std::string text, caption;
    MessageIcon icon;
  };

  void show_message(const std::string& text, const std::string& caption, MessageIcon icon) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({text, caption, icon});
  }
  // The end is one atomic store, the job's last touch of this object, so a
  // test may destroy it as soon as wait_done returns.
  void job_done(int result) override { done_.store(result, std::memory_order_release); }
  void progress(const JobProgress& p) override {
    { std::lock_guard lock(mutex_); last_progress_ = p; }
    if (on_progress) on_progress(p);
  }

  // The job's WM_JOB_DONE value, or 0 when it did not come in time.
  int wait_done(int seconds = 20) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (done_.load(std::memory_order_acquire) == 0 && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done_.load(std::memory_order_acquire);
  }
  bool done() const { return done_.load() != 0; }
  void reset() {
    { std::lock_guard lock(mutex_); messages_.clear(); }
    done_.store(0);
  }
  std::vector<Message> messages() { std::lock_guard lock(mutex_); return messages_; }
  JobProgress last_progress() { std::lock_guard lock(mutex_); return last_progress_; }

  // Set before the job starts; called on the job's thread.
  std::function<void(const JobProgress&)> on_progress;

 private:
  std::mutex mutex_;
  std::atomic<int> done_{0};
  std::vector<Message> messages_;
  JobProgress last_progress_;
};

}  // namespace tenji::testing
