#include "app/terminal_observer.h"

#include <string>

#include <unistd.h>

namespace tenji {

TerminalObserver::TerminalObserver(std::FILE* out) : out_(out), interactive_(::isatty(::fileno(out)) != 0) {}

std::string TerminalObserver::describe(const JobProgress& p) {
  char buf[160];
  const double done = p.bytes_total ? static_cast<double>(p.bytes_sent) / static_cast<double>(p.bytes_total) : 1.0;
  // Bytes still to go at the line speed: ten bits a byte.
  const std::uint64_t left_bytes = p.bytes_total > p.bytes_sent ? p.bytes_total - p.bytes_sent : 0;
  const long left_s = p.baud > 0 ? static_cast<long>((left_bytes * 10 + static_cast<unsigned>(p.baud) - 1) /
                                                     static_cast<unsigned>(p.baud))
                                 : 0;
  std::snprintf(buf, sizeof buf, "%d/%d部  %d/%d行  %3d%%  残り約%ld分%02ld秒", p.copy, p.copies, p.line, p.lines,
                static_cast<int>(done * 100.0), left_s / 60, left_s % 60);
  return buf;
}

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
    std::fprintf(out_, "\r%s\x1b[K", describe(p).c_str());
    progress_shown_ = true;
  } else {
    std::fprintf(out_, "%s\n", describe(p).c_str());
  }
  std::fflush(out_);
}

int TerminalObserver::wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return result_ != 0; });
  return result_;
}

}  // namespace tenji
