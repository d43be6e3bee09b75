// What the embossing job tells the window that started it. The desktop
// program posts a window message and shows its message boxes on the GUI
// thread; the command line writes to the terminal.
#pragma once

#include <cstdint>
#include <string>

#include "platform/alert.h"

namespace tenji {

using platform::MessageIcon;

struct JobProgress {
  int copy = 0;          // 1-based copy being printed
  int copies = 0;
  int page = 0;          // 1-based page being printed (of the pages printed)
  int pages = 0;
  int line = 0;          // 1-based line of the page being printed
  int lines = 0;         // lines of that page
  int cell = 0;          // cells done in the line
  std::uint64_t bytes_sent = 0;
  std::uint64_t bytes_total = 0;       // what the whole job will send
  std::uint64_t bytes_on_the_way = 0;  // sent, but not yet at the embosser
  int baud = 0;
  bool finished = false;   // the job's last report: it has ended
  bool cancelled = false;  // ... after a Cancel
  bool failed = false;     // ... after a failure (the user has been told why)
};

class JobObserver {
 public:
  virtual ~JobObserver() = default;
  // A message box owned by the printing window, with an OK button; returns
  // when the user has closed it.
  virtual void show_message(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
  // WM_JOB_DONE: 1 when the job finished or was cancelled, 2 when it failed.
  // The job uses neither the document nor the port after this.
  virtual void job_done(int result) = 0;
  // After every cell; keep it cheap.
  virtual void progress(const JobProgress&) {}
};

}  // namespace tenji
