// A JobObserver that records what the job told it and lets a test wait for
// the end of the job.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
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

  void job_done(int result) override {
    std::lock_guard lock(mutex_);
    done_.push_back(result);
    cv_.notify_all();
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
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return !done_.empty(); });
    return done_.empty() ? 0 : done_.front();
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
  std::condition_variable cv_;
  std::vector<Message> messages_;
  std::vector<int> done_;
  JobProgress last_progress_;
  int progress_calls_ = 0;
};

}  // namespace tenji::testing
