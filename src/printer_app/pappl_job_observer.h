// The embossing job as a PAPPL job shows it: the copy, page and line in
// job-state-message, pages as impressions, the job's own messages in the
// log, and a Cancel given over IPP (or the server stopping) passed on. A line
// the embosser holds (no cell goes out for a while) shows as the printer
// reason "other" with a message while it lasts.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

extern "C" {
#include <pappl/pappl.h>
}

#include "print/job_observer.h"

namespace tenji::server {

// A message as one line, for job-state-message and the log.
std::string one_line(std::string text);

class PapplJobObserver final : public JobObserver {
 public:
  explicit PapplJobObserver(pappl_job_t* job) : job_(job) {}

  void show_message(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void job_done(int result) override;
  void progress(const JobProgress& p) override;

  // Waits for the end of the job, passing on a Cancel; 1 done or cancelled,
  // 2 failed.
  int wait();
  bool cancelled();
  // The server stopped (SIGTERM, shutdown) while the job printed.
  bool stopped_by_server();
  // After a Cancel the embosser kept the line held, and the job gave up.
  bool gave_up_on_the_line();
  std::string last_message();

 private:
  pappl_job_t* job_;
  std::mutex mutex_;
  std::condition_variable ended_;
  int result_ = 0;
  bool cancelled_ = false;
  bool stopped_by_server_ = false;
  bool gave_up_ = false;
  bool held_ = false;
  std::chrono::steady_clock::time_point last_progress_ = std::chrono::steady_clock::now();

  void watch_the_line(std::unique_lock<std::mutex>& lock);
  std::string message_;
  int copy_ = 0, page_ = 0, line_ = 0;
};

}  // namespace tenji::server
