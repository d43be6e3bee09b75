// A JobObserver that records what the job told it and lets a test wait for
// the end of the job.
#pragma once

#include <chrono>
#include <atomic>
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

  // The end is signalled by one atomic store, the job's last touch of this
  // object, so that a test may destroy it as soon as wait_done returns.
  void job_done(int result) override {
    {
      std::lock_guard lock(mutex_);
      done_.push_back(result);
    }
    first_done_.store(result, std::memory_order_release);
  }

  void progress(const JobProgress& p) override {
    std::function<void(const JobProgress&)> hook;
    {
      std::lock_guard lock(mutex_);
      last_progress_ = p;
      ++progress_calls_;
      hook = on_progress;
    }
    if (hook) hook(p);
  }

  // The job's WM_JOB_DONE value, or 0 when it did not come in time.
  int wait_done(int seconds = 20) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int result;
    while ((result = first_done_.load(std::memory_order_acquire)) == 0 && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return result;
  }

  std::vector<Message> messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<int> done() {
    std::lock_guard lock(mutex_);
    return done_;
  }
  JobProgress last_progress() {
    std::lock_guard lock(mutex_);
    return last_progress_;
  }

  // Set before the job starts; called on the job's thread.
  std::function<void(const JobProgress&)> on_progress;

 private:
  std::mutex mutex_;
  std::atomic<int> first_done_{0};
  std::vector<Message> messages_;
  std::vector<int> done_;
  JobProgress last_progress_;
  int progress_calls_ = 0;
};

}  // namespace tenji::testing
