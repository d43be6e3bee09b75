#include "printer_app/pappl_job_observer.h"

#include <chrono>

#include "print/printing_flag.h"

namespace tenji::server {

void PapplJobObserver::show_message(const std::string& text, const std::string& caption, MessageIcon) {
  std::string line = text;
  for (char& c : line)
    if (c == '\n') c = ' ';
  papplLogJob(job_, PAPPL_LOGLEVEL_ERROR, "%s: %s", caption.c_str(), line.c_str());
  papplJobSetMessage(job_, "%s", line.c_str());
  std::lock_guard lock(mutex_);
  message_ = line;
}

void PapplJobObserver::job_done(int result) {
  std::lock_guard lock(mutex_);
  result_ = result;
  ended_.notify_all();
}

void PapplJobObserver::progress(const JobProgress& p) {
  if (p.finished) {
    std::lock_guard lock(mutex_);
    cancelled_ = p.cancelled;
    return;
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
    const bool stopping = papplSystemIsShutdown(papplPrinterGetSystem(papplJobGetPrinter(job_)));
    if (!passed_on && (papplJobIsCanceled(job_) || stopping)) {
      passed_on = true;
      stopped_by_server_ = stopping && !papplJobIsCanceled(job_);
      lock.unlock();
      cancel_printing();
      lock.lock();
    }
  }
  if (result_ == 1 && !cancelled_ && page_ != 0) papplJobSetImpressionsCompleted(job_, 1);
  return result_;
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
