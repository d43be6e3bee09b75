// A full default page (32 x 22 cells of mixed patterns) printed at 9600 bit/s
// through a pseudo-terminal to the virtual embosser. Reports
//   line use = ideal time at baud/10 bytes a second / time from the first to
//              the last byte at the embosser (goal >= 0.97)
//   CPU share = this process's CPU time / wall time during the job (goal <= 0.02)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "platform/debug_output.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"

extern char** environ;

namespace {

class Waiter final : public tenji::JobObserver {
 public:
  void show_message(const std::string& text, const std::string& caption, tenji::MessageIcon) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
  void job_done(int r) override { result = r; }
  std::atomic<int> result{0};
};

double cpu_seconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double json_number(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? 0.0 : std::atof(json.c_str() + at + key.size() + 4);
}

}  // namespace

int main() {
  char home_template[] = "/tmp/tenji-bench-XXXXXX";
  const std::string home = ::mkdtemp(home_template);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string out = home + "/out";

  std::string embosser = VIRTUAL_EMBOSSER_PATH, com = "--com", one = "1", jobs = "--jobs", baud = "--baud",
              b9600 = "9600", out_flag = "--out", out_dir = out;
  char* argv[] = {embosser.data(), com.data(), one.data(), jobs.data(), one.data(), baud.data(),
                  b9600.data(),    out_flag.data(), out_dir.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot start the virtual embosser\n");
    return 1;
  }
  const auto link = std::filesystem::path(home) / "tenjiprint/dosdevices/com1";
  for (int i = 0; i < 500 && !std::filesystem::is_symlink(link); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));

  tenji::PrintSettings settings = tenji::default_print_settings();
  settings.COM_SPEED = 3;
  tenji::BrailleDocument doc;
  unsigned seed = 7;
  for (int line = 0; line < 22; ++line) {
    std::string cells;
    for (int c = 0; c < 32; ++c) {
      seed = seed * 1103515245u + 12345u;
      cells += static_cast<char>(0xA0 + (seed >> 16) % 64);
    }
    doc.append_line(tenji::make_braille_line(cells));
  }
  tenji::platform::set_debug_output([](std::string_view t) { std::fprintf(stderr, "%.*s\n", int(t.size()), t.data()); });

  Waiter waiter;
  const double cpu0 = cpu_seconds();
  const auto t0 = std::chrono::steady_clock::now();
  tenji::start_emboss_job(settings, "page.NRK", &waiter, &doc, 1, 0);
  while (waiter.result == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double cpu = cpu_seconds() - cpu0;

  int status = 0;
  ::waitpid(pid, &status, 0);
  std::ifstream in(out + "/job-1.json");
  std::stringstream json;
  json << in.rdbuf();
  const double bytes = json_number(json.str(), "bytes");
  const double line_seconds = json_number(json.str(), "line_seconds");
  const double ideal = (bytes - 1) / 960.0;  // first to last byte: bytes - 1 intervals

  std::printf("bytes sent            %.0f (planned %llu)\n", bytes,
              static_cast<unsigned long long>(tenji::planned_stream_bytes(settings, doc, 1)));
  std::printf("job wall time         %.3f s\n", wall);
  std::printf("embosser first-last   %.3f s (ideal %.3f s)\n", line_seconds, ideal);
  std::printf("line use              %.4f (goal >= 0.97)\n", line_seconds > 0 ? ideal / line_seconds : 0.0);
  std::printf("CPU time / wall time  %.4f (%.3f s CPU; goal <= 0.02)\n", cpu / wall, cpu);
  std::filesystem::remove_all(home);
  return waiter.result == 1 ? 0 : 1;
}
