#include "app/terminal_observer.h"

#include "platform/console_text.h"
#include "print/emboss_job.h"
#include "print/progress_text.h"

#include <string>
#include <condition_variable>
#include <mutex>

#include "platform/user_dirs.h"

namespace tenji {

TerminalObserver::TerminalObserver(std::FILE* out) : out_(out), interactive_(platform::is_terminal(out)) {}

void TerminalObserver::show_message(const std::string& text, const std::string& caption, MessageIcon) {
  std::lock_guard lock(mutex_);
  if (progress_shown_) platform::write_text(out_, "\n");
  progress_shown_ = false;
  platform::print_text(out_, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(out_);
}

namespace {
// The end of a job is told through a lock and a condition that outlive
// every observer: the waiter may destroy its observer as soon as it has
// seen the end, while the job is still leaving job_done.
std::mutex end_mutex;
std::condition_variable end_told;
}  // namespace

void TerminalObserver::job_done(int result) {
  {
    std::lock_guard lock(mutex_);
    if (progress_shown_) platform::write_text(out_, "\n");
    progress_shown_ = false;
    std::fflush(out_);
  }
  {
    std::lock_guard lock(end_mutex);
    result_ = result;
  }
  end_told.notify_all();
}

void TerminalObserver::progress(const JobProgress& p) {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  last_ = p;
  const auto every = interactive_ ? std::chrono::milliseconds(200) : std::chrono::milliseconds(2000);
  if (!p.finished && now - last_report_ < every) return;
  last_report_ = now;
  // The end of a cancelled or failed job says where it stopped; a job that
  // never started says nothing more than its message.
  if (p.finished && (p.cancelled || p.failed)) {
    if (progress_shown_) platform::write_text(out_, "\n");
    progress_shown_ = false;
    if (p.cancelled || p.copies > 0) platform::print_text(out_, "%s\n", describe_end(p, p.failed ? 2 : 1).c_str());
    std::fflush(out_);
    return;
  }
  if (interactive_) {
    platform::print_text(out_, "\r%s\x1b[K", describe_progress(p, true).c_str());
    progress_shown_ = true;
  } else {
    platform::print_text(out_, "%s\n", describe_progress(p, true).c_str());
  }
  std::fflush(out_);
}

JobProgress TerminalObserver::last() {
  std::lock_guard lock(mutex_);
  return last_;
}

int TerminalObserver::wait() {
  std::unique_lock lock(end_mutex);
  end_told.wait(lock, [this] { return result_ != 0; });
  return result_;
}

}  // namespace tenji
