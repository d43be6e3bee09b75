// Runs the virtual embosser as a child process linked as COM<n> in a
// temporary config home, and collects what it wrote.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

#include "spawn_quiet.h"
#include "support/temp_dir.h"

namespace tenji::testing {

using tenji::spawn_quiet;

class VirtualEmbosserProcess {
 public:
  // Extra arguments are passed on (for instance "--baud 9600").
  VirtualEmbosserProcess(int com_number, int jobs, const std::string& extra_args = "");
  ~VirtualEmbosserProcess();

  bool ready() const { return ready_; }
  // Waits for the process to exit after its jobs; true when it did.
  bool wait_exit(int seconds = 30);
  std::string file(const std::string& name) const { return read_file(out_dir_ + "/" + name); }
  // Waits until the embosser has written `name`; true when it did.
  bool wait_file(const std::string& name, int seconds = 30) const;
  std::string com_link() const { return home_.com_link(com_); }

 private:
  ScopedConfigHome home_;
  std::string out_dir_;
  int com_ = 0;
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace tenji::testing
