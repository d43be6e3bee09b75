#include "printer_app/pappl_job_observer.h"

#include "print/emboss_job.h"
#include "print/printing_flag.h"

namespace tenji::server {

namespace {

// No cell for this long: the embosser holds the line (XOFF), out of paper or
// off line. At 1200 bit/s a cell takes well under a second.
constexpr auto HELD_AFTER = std::chrono::seconds(3);
constexpr const char* HELD_MESSAGE = "点字プリンターが受信を止めています（用紙、カバー、オンラインのボタンを確認してください）。";

}  // namespace

std::string one_line(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

void PapplJobObserver::show_message(const std::string& text, const std::string& caption, MessageIcon) {
  const std::string line = one_line(text);
  papplLogJob(job_, PAPPL_LOGLEVEL_ERROR, "%s: %s", caption.c_str(), line.c_str());
  papplJobSetMessage(job_, "%s", line.c_str());
  std::lock_guard lock(mutex_);
  message_ = line;
  gave_up_ = gave_up_ || text == LINE_HELD_MESSAGE;
}

void PapplJobObserver::job_done(int result) {
  std::lock_guard lock(mutex_);
  result_ = result;
  ended_.notify_all();
}

void PapplJobObserver::progress(const JobProgress& p) {
  {
    std::lock_guard lock(mutex_);
    last_progress_ = std::chrono::steady_clock::now();
    if (p.finished) {
      cancelled_ = p.cancelled;
      return;
    }
  }
  // Every cell reports; the job's message changes with the line.
  if (p.copy == copy_ && p.page == page_ && p.line == line_) return;
  if (p.page != page_ || p.copy != copy_) {
    if (page_ != 0) papplJobSetImpressionsCompleted(job_, 1);
  }
  copy_ = p.copy, page_ = p.page, line_ = p.line;
  papplJobSetMessage(job_, "%d/%d部 %d/%dページ %d/%d行", p.copy, p.copies, p.page, p.pages, p.line, p.lines);
}

int PapplJobObserver::wait() {
  std::unique_lock lock(mutex_);
  bool passed_on = false;
  while (result_ == 0) {
    ended_.wait_for(lock, std::chrono::milliseconds(100));
    watch_the_line(lock);
    const bool stopping = papplSystemIsShutdown(papplPrinterGetSystem(papplJobGetPrinter(job_)));
    if (!passed_on && (papplJobIsCanceled(job_) || stopping)) {
      passed_on = true;
      stopped_by_server_ = stopping && !papplJobIsCanceled(job_);
      lock.unlock();
      cancel_printing();
      lock.lock();
    }
  }
  if (held_) papplPrinterSetReasons(papplJobGetPrinter(job_), PAPPL_PREASON_NONE, PAPPL_PREASON_OTHER);
  if (result_ == 1 && !cancelled_ && page_ != 0) papplJobSetImpressionsCompleted(job_, 1);
  return result_;
}

// Called with the lock held; PAPPL is told without it.
void PapplJobObserver::watch_the_line(std::unique_lock<std::mutex>& lock) {
  const bool held_now = std::chrono::steady_clock::now() - last_progress_ >= HELD_AFTER;
  if (held_now == held_) return;
  held_ = held_now;
  lock.unlock();
  pappl_printer_t* printer = papplJobGetPrinter(job_);
  if (held_now) {
    papplLogJob(job_, PAPPL_LOGLEVEL_WARN, "%s", HELD_MESSAGE);
    papplJobSetMessage(job_, "%s", HELD_MESSAGE);
    papplPrinterSetReasons(printer, PAPPL_PREASON_OTHER, PAPPL_PREASON_NONE);
  } else {
    papplPrinterSetReasons(printer, PAPPL_PREASON_NONE, PAPPL_PREASON_OTHER);
  }
  lock.lock();
}

bool PapplJobObserver::gave_up_on_the_line() {
  std::lock_guard lock(mutex_);
  return gave_up_;
}

bool PapplJobObserver::stopped_by_server() {
  std::lock_guard lock(mutex_);
  return stopped_by_server_;
}

bool PapplJobObserver::cancelled() {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

std::string PapplJobObserver::last_message() {
  std::lock_guard lock(mutex_);
  return message_;
}

}  // namespace tenji::server
