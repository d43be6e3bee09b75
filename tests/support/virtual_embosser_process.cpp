#include "support/virtual_embosser_process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "spawn_quiet.h"

namespace tenji::testing {

VirtualEmbosserProcess::VirtualEmbosserProcess(int com_number, int jobs, const std::string& extra_args)
    : out_dir_(home_.file("out")), com_(com_number) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::vector<std::string> args = {VIRTUAL_EMBOSSER_PATH, "--com", std::to_string(com_number),
                                   "--jobs",              std::to_string(jobs), "--out", out_dir_};
  std::istringstream extra(extra_args);
  for (std::string a; extra >> a;) args.push_back(a);
  pid_ = spawn_quiet(args);
  for (int i = 0; i < 500 && pid_ > 0 && !ready_; ++i) {
    std::error_code ec;
    ready_ = std::filesystem::is_symlink(com_link(), ec);
    if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool VirtualEmbosserProcess::wait_exit(int seconds) {
  if (pid_ <= 0) return false;
  for (int i = 0; i < seconds * 100; ++i) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool VirtualEmbosserProcess::wait_file(const std::string& name, int seconds) const {
  for (int i = 0; i < seconds * 100; ++i) {
    std::error_code ec;
    if (std::filesystem::exists(out_dir_ + "/" + name, ec)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

VirtualEmbosserProcess::~VirtualEmbosserProcess() {
  if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
}

}  // namespace tenji::testing
