// The embossing job as seen on a terminal: messages and a progress line on
// stderr, and a wait for the end of the job.
#pragma once

#include <chrono>
#include <atomic>
#include <cstdio>
#include <mutex>

#include "print/job_observer.h"

namespace tenji {

class TerminalObserver final : public JobObserver {
 public:
  explicit TerminalObserver(std::FILE* out);

  void show_message(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void job_done(int result) override;
  void progress(const JobProgress& p) override;

  // Blocks until the job has posted its end; its value (1 or 2).
  int wait();
  // The job's last report (after wait: its end, and whether it was cancelled).
  JobProgress last();

 private:
  std::FILE* out_;
  bool interactive_;  // a terminal: the progress line is rewritten in place
  std::mutex mutex_;
  int result_ = 0;  // the job's last touch of this object
  bool progress_shown_ = false;
  JobProgress last_;
  std::chrono::steady_clock::time_point last_report_{};
};

}  // namespace tenji
