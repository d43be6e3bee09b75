#include "support/virtual_embosser_process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tenji::testing {

pid_t spawn_quiet(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&quiet);
  return pid;
}

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

VirtualEmbosserProcess::~VirtualEmbosserProcess() {
  if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
}

}  // namespace tenji::testing
