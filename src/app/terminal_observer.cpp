#include "app/terminal_observer.h"

#include "print/progress_text.h"

#include <string>

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
  std::lock_guard lock(mutex_);
  if (progress_shown_) std::fputc('\n', out_);
  progress_shown_ = false;
  std::fflush(out_);
  result_ = result;
  cv_.notify_all();
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

int TerminalObserver::wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return result_ != 0; });
  return result_;
}

}  // namespace tenji
