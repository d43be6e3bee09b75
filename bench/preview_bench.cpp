// The preview of a 1,000-page PEF (22 lines of 32 cells a page):
//   text        `tenjiprint preview FILE --pages all` to a file (goal <= 0.5 s)
//   files       the same with --out: SVG, PNG and JSON of every sheet (goal <= 10 s)
//   first sheet the preview window from its making to its first sheet shown,
//               after the last choice (goal <= 0.3 s)
//   later sheet each later sheet, a turn of the page (goal <= 50 ms)
//   peak memory of each (goal <= 100 MB)
// usage: preview_bench TENJIPRINT
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/settings_file.h"
#include "desktop/preview_dialog.h"
#include "document/braille_source.h"
#include "document/braille_writers.h"
#include "print/page_plan.h"
#include "resources/resource_ids.h"
#include "spawn_quiet.h"
#include "ui/application.h"
#include "ui/ui_services.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

tenji::TextDocument book(int pages) {
  tenji::TextDocument doc;
  for (int p = 0; p < pages; ++p) {
    if (p > 0) doc.page_breaks.push_back(p * 22);
    for (int l = 0; l < 22; ++l) {
      std::string line(32, '\0');
      for (int j = 0; j < 32; ++j) line[j] = static_cast<char>(0xA0 + (p * 7 + l * 13 + j * 5) % 64);
      doc.lines.push_back(std::move(line));
    }
  }
  return doc;
}

// A run of the program: its wall time and peak memory.
void run(const std::string& what, std::vector<std::string> args) {
  const auto start = Clock::now();
  const pid_t pid = tenji::spawn_quiet(args);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  std::printf("  %-34s %8.3f s %8.0f MB%s\n", what.c_str(), seconds_since(start),
              static_cast<double>(usage.ru_maxrss) / 1024.0,
              WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "  (failed)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_bench TENJIPRINT\n");
    return 2;
  }
  char home_template[] = "/tmp/tenji-preview-XXXXXX";
  const std::string home = mkdtemp(home_template);
  const std::string settings = home + "/bench.ini", document = home + "/book.pef";
  tenji::write_default_settings(settings);
  if (const pid_t maker = fork(); maker == 0) {  // the book's memory is not this process's
    std::ofstream(document, std::ios::binary) << tenji::encode_pef(book(1000), 32, 22);
    _exit(0);
  } else {
    int status = 0;
    waitpid(maker, &status, 0);
  }
  std::printf("a 1,000-page PEF (%.1f MB), 22 lines of 32 cells a page\n",
              static_cast<double>(fs::file_size(document)) / 1e6);
  const std::string program = argv[1];
  run("text to a file", {"/bin/sh", "-c", program + " --settings " + settings + " preview " + document +
                                              " --pages all > " + home + "/text.txt"});
  run("SVG, PNG and JSON of every sheet",
      {program, "--settings", settings, "preview", document, "--pages", "all", "--out", home + "/files"});

  // The window, on Qt's offscreen platform, after the choices: the document
  // read and paginated as the print flow leaves them.
  const int result = tenji::ui::run_application(argc, argv, [&] {
    tenji::PrintSettings s;
    tenji::load_all_keys(settings, s);
    tenji::BrailleDocument doc;
    tenji::read_braille_source(document, doc);
    const auto pages = tenji::paginate(doc, s.LPP);
    const auto chosen = Clock::now();
    double first = 0;
    std::vector<double> turns;
    tenji::PreviewDialog preview(nullptr, s, doc, pages);
    tenji::platform::ScopedHook shown(tenji::ui::dialog_shown_hook, [&](tenji::ui::Dialog& d) {
      first = seconds_since(chosen);
      for (int n = 0; n < 50; ++n) {
        const auto t = Clock::now();
        d.command(n < 40 ? tenji::resources::IDC_PREVIEW_NEXT : tenji::resources::ID_PREVIEW_LAST);
        turns.push_back(seconds_since(t));
      }
      d.end_dialog(tenji::ui::IDCANCEL);
    });
    preview.do_modal();
    std::sort(turns.begin(), turns.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  %-34s %8.3f s\n  %-34s %8.1f ms (median), %.1f ms (slowest of %zu)\n  %-34s %8.0f MB\n",
                "window: first sheet shown", first, "window: a later sheet", turns[turns.size() / 2] * 1000,
                turns.back() * 1000, turns.size(), "window: peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
  }, true);
  fs::remove_all(home);
  return result;
}
