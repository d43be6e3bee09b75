// A book of 23,000 pages (22 lines of 32 cells: about 50 MB as Unicode
// Braille text) printed with `tenjiprint print FILE --pages all` as NRK, BRF,
// Unicode Braille text and PEF. For each tenjiprint given (the current build,
// and a previous one to compare with) it reports, as the median of RUNS:
//   first byte   from the start of the program to its first byte on the line
//                (goal <= 0.3 s)
//   peak memory  the program's largest resident size (goal <= 3 x the file)
// The first byte is seen as the program's first write to the port (the
// device reports it); the virtual embosser takes what follows, and Ctrl-C
// then ends the print.
// usage: large_book_bench TENJIPRINT [PREVIOUS_TENJIPRINT] [--runs N]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document/braille_text.h"
#include "document/braille_writers.h"
#include "document/nrk_writer.h"
#include "spawn_quiet.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int PAGES = 23000, LINES = 22, CELLS = 32;

tenji::TextDocument book() {
  tenji::TextDocument doc;
  doc.lines.reserve(PAGES * LINES);
  for (int p = 0; p < PAGES; ++p) {
    if (p > 0) doc.page_breaks.push_back(p * LINES);
    for (int l = 0; l < LINES; ++l) {
      std::string line(CELLS, '\0');
      for (int j = 0; j < CELLS; ++j) line[j] = static_cast<char>(0xA0 + (p * 7 + l * 13 + j * 5) % 64);
      doc.lines.push_back(std::move(line));
    }
  }
  return doc;
}

struct Run {
  double first_byte = -1;  // seconds after the start; -1: none within the time allowed
  double peak_mb = 0;
};

// One print through a fresh embosser.
Run print(const std::string& program, const std::string& home, const std::string& settings,
          const std::string& document) {
  const std::string out = home + "/out";
  fs::remove_all(out);
  const pid_t embosser = tenji::spawn_quiet({VIRTUAL_EMBOSSER_PATH, "--com", "1", "--jobs", "1", "--out", out});
  const fs::path link = fs::path(home) / "tenjiprint/dosdevices/com1";
  for (int i = 0; i < 500 && !fs::is_symlink(link); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, fs::read_symlink(link).c_str(), IN_MODIFY);

  Run r;
  const auto started = Clock::now();
  const pid_t pid = tenji::spawn_quiet({program, "--settings", settings, "print", document, "--pages", "all"});
  pollfd p{watch, POLLIN, 0};
  if (poll(&p, 1, 20000) == 1) r.first_byte = std::chrono::duration<double>(Clock::now() - started).count();
  close(watch);
  kill(pid, SIGINT);  // the cell in progress, then CR
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  for (int i = 0; i < 3000 && waitpid(embosser, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (waitpid(embosser, &status, WNOHANG) == 0) {
    kill(embosser, SIGTERM);
    waitpid(embosser, &status, 0);
  }
  return r;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> programs;
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else
      programs.push_back(argv[i]);
  }
  if (programs.empty()) {
    std::fprintf(stderr, "usage: large_book_bench TENJIPRINT [PREVIOUS_TENJIPRINT] [--runs N]\n");
    return 2;
  }
  char home_template[] = "/tmp/tenji-book-XXXXXX";
  const std::string home = mkdtemp(home_template);
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string settings = home + "/bench.ini";
  std::ofstream(settings) << "[RUK_PRINT]\r\nTEN_HEIGHT=2.22\r\nTEN_WIDTH=2.07\r\nMASU_BETWEEN=3.11\r\n"
                             "GYO_BETWEEN=6.03\r\nTEN_KIND=1\r\nPAPER_SIZE=1\r\nCPL=32\r\nLPP=22\r\nSTART_X=0.0\r\n"
                             "START_Y=0.0\r\nEND_X=230.1\r\nEND_Y=165.4\r\nCOM_PORT=0\r\nCOM_SPEED=3\r\nCOM_FLOW=1\r\n"
                             "BACK_PITCH=6\r\n";
  // The book is made in a child of its own: a program started from this one
  // would count this one's memory as its own peak.
  const std::vector<std::string> forms = {"book.NRK", "book.brf", "book.txt", "book.pef"};
  if (const pid_t maker = fork(); maker == 0) {
    const tenji::TextDocument doc = book();
    std::ofstream(home + "/book.NRK", std::ios::binary) << tenji::encode_nrk(doc.lines);
    std::ofstream(home + "/book.brf", std::ios::binary) << tenji::encode_brf(doc);
    std::ofstream(home + "/book.txt", std::ios::binary) << tenji::encode_braille_text(doc);
    std::ofstream(home + "/book.pef", std::ios::binary) << tenji::encode_pef(doc, CELLS, LINES);
    _exit(0);
  } else {
    int status = 0;
    waitpid(maker, &status, 0);
  }

  std::printf("%d pages of %d lines of %d cells; median of %d runs\n", PAGES, LINES, CELLS, runs);
  std::printf("%-9s %8s", "form", "file MB");
  for (std::size_t k = 0; k < programs.size(); ++k)
    std::printf("  %s first byte  peak MB", k == 0 ? "   current" : "  previous");
  std::printf("\n");
  for (const std::string& name : forms) {
    std::printf("%-9s %8.1f", name.c_str(), static_cast<double>(fs::file_size(home + "/" + name)) / 1e6);
    for (const std::string& program : programs) {
      std::vector<double> first, peak;
      for (int i = 0; i < runs; ++i) {
        const Run r = print(program, home, settings, home + "/" + name);
        first.push_back(r.first_byte);
        peak.push_back(r.peak_mb);
      }
      std::printf("  %19.3f s %8.0f", median(first), *std::max_element(peak.begin(), peak.end()));
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  fs::remove_all(home);
  return 0;
}
