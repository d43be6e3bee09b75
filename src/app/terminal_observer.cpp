#include "app/terminal_observer.h"

#include "print/progress_text.h"

#include <string>
#include <thread>

#include "platform/user_dirs.h"

namespace tenji {

TerminalObserver::TerminalObserver(std::FILE* out) : out_(out), interactive_(platform::is_terminal(out)) {}

void TerminalObserver::show_message(const std::string& text, const std::string& caption, MessageIcon) {
  std::lock_guard lock(mutex_);
  if (progress_shown_) std::fputc('\n', out_);
  progress_shown_ = false;
  std::fprintf(out_, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(out_);
}

void TerminalObserver::job_done(int result) {
  {
    std::lock_guard lock(mutex_);
    if (progress_shown_) std::fputc('\n', out_);
    progress_shown_ = false;
    std::fflush(out_);
  }
  result_.store(result, std::memory_order_release);
}

void TerminalObserver::progress(const JobProgress& p) {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  const bool last = p.bytes_sent >= p.bytes_total;
  const auto every = interactive_ ? std::chrono::milliseconds(200) : std::chrono::milliseconds(2000);
  if (!last && now - last_report_ < every) return;
  last_report_ = now;
  if (interactive_) {
    std::fprintf(out_, "\r%s\x1b[K", describe_progress(p, true).c_str());
    progress_shown_ = true;
  } else {
    std::fprintf(out_, "%s\n", describe_progress(p, true).c_str());
  }
  std::fflush(out_);
}

// Polls rather than waits on a condition: the observer may be destroyed as
// soon as this returns, and the job must be done with it by then.
int TerminalObserver::wait() {
  int result;
  while ((result = result_.load(std::memory_order_acquire)) == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return result;
}

}  // namespace tenji
