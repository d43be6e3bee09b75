// The job's desktop side: its end becomes a posted WM_JOB_DONE, its message
// boxes are shown on the user-interface thread (the job waits for them), and
// its progress reaches the window a few times a second.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "print/job_observer.h"

namespace tenji {

namespace ui {
class Dialog;
}

class GuiJobObserver final : public JobObserver {
 public:
  explicit GuiJobObserver(ui::Dialog& window);

  void show_message(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void job_done(int result) override;
  void progress(const JobProgress& p) override;

  // On the user-interface thread: the message box a JobMessage asks for.
  static void show_job_message(ui::Dialog& owner, std::intptr_t lparam);
  // The report that WM_JOB_PROGRESS announced.
  JobProgress take_progress();
  // On WM_JOB_DONE: takes over from the job, which has let go of the
  // document and the window by now.
  void acknowledge_done();

 private:
  ui::Dialog& window_;
  std::thread::id ui_thread_;
  std::mutex mutex_;
  JobProgress latest_;
  bool progress_posted_ = false;
  std::atomic<bool> done_{false};
  std::chrono::steady_clock::time_point last_post_{};
};

}  // namespace tenji
