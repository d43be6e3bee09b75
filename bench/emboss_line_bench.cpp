// The embossing program as a user runs it, through a pseudo-terminal to the
// virtual embosser, at 1200 and 9600 bit/s. For each tenjiprint given (the
// current build, and a previous one to compare with) it reports
//   Ctrl-C -> last byte   from Ctrl-C to the embosser's last byte
//                         (goal <= 0.5 s + one cell's line time)
//   exit - last byte      the program's exit after the embosser's last byte
//                         (goal <= 0.3 s; negative: it quit before the paper)
//   line use              ideal line time / first-to-last byte (goal >= 0.99)
//   CPU / wall            the program's CPU time over its run (goal <= 0.2 %)
// usage: emboss_line_bench TENJIPRINT [PREVIOUS_TENJIPRINT]
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "spawn_quiet.h"

namespace {

namespace fs = std::filesystem;
using tenji::spawn_quiet;

double now_s() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

double json_number(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? NAN : std::atof(json.c_str() + at + key.size() + 4);
}

struct Run {
  double sigint_at = 0, exit_at = 0, started_at = 0, cpu = 0;
  int exit_code = -1;
  double bytes = 0, first_byte = NAN, last_byte = NAN;
};

// One print through a fresh embosser; with `interrupt_after` > 0, Ctrl-C then.
Run print(const std::string& program, const std::string& home, long baud, const std::string& document,
          double interrupt_after) {
  const std::string out = home + "/out-" + std::to_string(static_cast<long>(now_s() * 1000));
  const pid_t embosser =
      spawn_quiet({VIRTUAL_EMBOSSER_PATH, "--com", "1", "--jobs", "1", "--baud", std::to_string(baud), "--out", out});
  const fs::path link = fs::path(home) / "tenjiprint/dosdevices/com1";
  for (int i = 0; i < 500 && !fs::is_symlink(link); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  Run r;
  const std::string settings = home + "/bench-" + std::to_string(baud) + ".ini";
  r.started_at = now_s();
  const pid_t pid = spawn_quiet({program, "--settings", settings, "print", document, "--force"});
  if (interrupt_after > 0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(interrupt_after));
    r.sigint_at = now_s();
    kill(pid, SIGINT);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.exit_at = now_s();
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;

  // The embosser may still be taking what a program left in the line.
  for (int i = 0; i < 3000 && waitpid(embosser, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (waitpid(embosser, &status, WNOHANG) == 0) {
    kill(embosser, SIGTERM);
    waitpid(embosser, &status, 0);
    return r;  // still receiving after 30 s: no last byte to report
  }
  const std::string json = slurp(out + "/job-1.json");
  r.bytes = json_number(json, "bytes");
  r.first_byte = json_number(json, "first_byte_at");
  r.last_byte = json_number(json, "last_byte_at");
  return r;
}

void row(const char* what, double value, const char* unit) {
  if (std::isnan(value))
    std::printf("  %-28s %12s\n", what, "> 30 s");
  else
    std::printf("  %-28s %12.3f %s\n", what, value, unit);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: emboss_line_bench TENJIPRINT [PREVIOUS_TENJIPRINT]\n");
    return 2;
  }
  char home_template[] = "/tmp/tenji-bench-XXXXXX";
  const std::string home = mkdtemp(home_template);
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string page = std::string(TENJI_SOURCE_DIR) + "/samples/full-page.NRK";
  for (long baud : {1200L, 9600L}) {
    std::ofstream(home + "/bench-" + std::to_string(baud) + ".ini")
        << "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\nGYO_BETWEEN=6.03\r\n"
           "TEN_KIND=1\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP="
        << (baud == 1200 ? 2 : 22)  // two lines at 1200 bit/s: 30 s of line time
        << "\r\nSTART_X=0.0\r\nSTART_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\nCOM_PORT=0\r\nCOM_SPEED="
        << (baud == 1200 ? 0 : 3) << "\r\nCOM_FLOW=1\r\nBACK_PITCH=6\r\n";
  }
  for (int p = 1; p < argc; ++p) {
    std::printf("%s %s\n", p == 1 ? "current " : "previous", argv[p]);
    for (long baud : {1200L, 9600L}) {
      const double cell = 38.0 * 10 / static_cast<double>(baud);
      const Run cancel = print(argv[p], home, baud, page, 2.5);
      const Run whole = print(argv[p], home, baud, page, 0);
      std::printf(" %ld bit/s (a cell: %.3f s of line time)\n", baud, cell);
      row("Ctrl-C -> last byte", cancel.last_byte - cancel.sigint_at, "s");
      std::printf("  %-28s %12d\n", "exit code after Ctrl-C", cancel.exit_code);
      row("exit - last byte", whole.exit_at - whole.last_byte, "s");
      const double ideal = (whole.bytes - 1) * 10 / static_cast<double>(baud);
      row("line use", ideal / (whole.last_byte - whole.first_byte), "");
      row("CPU / wall", 100 * whole.cpu / (whole.exit_at - whole.started_at), "%");
    }
  }
  fs::remove_all(home);
  return 0;
}
