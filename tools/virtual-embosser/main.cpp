// virtual-embosser: stands in for the Braille embosser on a pseudo-terminal
// linked as a COM port, so the program prints without hardware. Every job
// (what arrives between an open and a close of the port) is saved raw,
// decoded to JSON, and drawn page by page as SVG and PNG.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include "embosser.h"
#include "print/page_output.h"
#include "serial/com_device_path.h"
#include "print/stream_decoder.h"

namespace {

namespace fs = std::filesystem;

volatile std::sig_atomic_t stop_requested = 0;
void on_signal(int) { stop_requested = 1; }

struct Options {
  int com = 0;
  int jobs = 0;  // 0: serve until stopped
  long baud = 0;  // 0: take bytes as fast as they come
  long hold_after = -1;
  long hold_ms = 0;
  std::string out = ".";
  tenji::PaperSize paper = tenji::paper_size(1);  // Ｂ５
};

void usage() {
  std::fprintf(stderr,
               "usage: virtual-embosser [--com N] [--jobs N] [--baud B] [--hold-after BYTES --hold-ms MS]\n"
               "                        [--out DIR] [--paper b5|a4]\n"
               "  --com N         link <config home>/tenjiprint/dosdevices/com<N> to the embosser\n"
               "  --jobs N        exit after N jobs\n"
               "  --baud B        take no more than B/10 bytes a second\n"
               "  --hold-after BYTES --hold-ms MS\n"
               "                  after BYTES bytes of a job send XOFF, take nothing for MS, then XON\n"
               "  Bytes come off the line into a receive buffer of 512 bytes with XON/XOFF,\n"
               "  as a small embosser's. A job is what arrives while the port is open.\n"
               "  --out DIR       where job-<n>.bin/.json and job-<n>-page-<p>.svg/.png go\n");
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](long& v) {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      v = std::strtol(argv[++i], &end, 10);
      return end && *end == '\0' && v >= 0;
    };
    long v = 0;
    if (a == "--com" && value(v) && v >= 1 && v <= 256) o.com = static_cast<int>(v);
    else if (a == "--jobs" && value(v)) o.jobs = static_cast<int>(v);
    else if (a == "--baud" && value(v)) o.baud = v;
    else if (a == "--hold-after" && value(v)) o.hold_after = v;
    else if (a == "--hold-ms" && value(v)) o.hold_ms = v;
    else if (a == "--out" && i + 1 < argc) o.out = argv[++i];
    else if (a == "--paper" && i + 1 < argc) {
      const std::string p = argv[++i];
      if (p == "a4") o.paper = tenji::paper_size(0);
      else if (p == "b5") o.paper = tenji::paper_size(1);
      else return false;
    } else return false;
  }
  return true;
}

// Saves a job's stream, its decoded dots and its pages.
void save_job(const Options& o, int number, const tenji::embosser::FinishedJob& job) {
  const std::string base = (fs::path(o.out) / ("job-" + std::to_string(number))).string();
  const auto decoded = tenji::decode_stream(job.bytes);
  std::string files;
  auto save = [&files](const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    files += " " + path;
  };
  save(base + ".bin", job.bytes);
  save(base + ".json", tenji::job_json(number, job.bytes.size(), decoded, job.first_byte_at, job.last_byte_at,
                                                 job.boundary_certain));
  std::size_t dots = 0;
  for (std::size_t p = 0; p < decoded.pages.size(); ++p) {
    const std::string page = base + "-page-" + std::to_string(p + 1);
    save(page + ".svg", tenji::page_svg(decoded.pages[p], o.paper));
    if (tenji::write_page_png(page + ".png", decoded.pages[p], o.paper)) files += " " + page + ".png";
    dots += decoded.pages[p].dots.size();
  }
  std::printf("job %d: %zu bytes in %.3f s, %zu pages, %zu dots, %zu protocol errors%s ->%s\n", number,
              job.bytes.size(), job.last_byte_at - job.first_byte_at, decoded.pages.size(), dots,
              decoded.errors.size(), job.boundary_certain ? "" : ", boundary uncertain", files.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    usage();
    return 2;
  }
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::perror("virtual-embosser: pseudo-terminal");
    return 1;
  }
  const std::string slave = ::ptsname(master);
  std::error_code ec;
  fs::create_directories(o.out, ec);

  std::string link;
  if (o.com > 0) {
    const std::string dir = tenji::dosdevices_directory();
    if (dir.empty()) {
      std::fprintf(stderr, "virtual-embosser: no config home for the COM link\n");
      return 1;
    }
    fs::create_directories(dir, ec);
    link = dir + "/com" + std::to_string(o.com);
    fs::remove(link, ec);
    fs::create_symlink(slave, link, ec);
    if (ec) {
      std::fprintf(stderr, "virtual-embosser: cannot link %s: %s\n", link.c_str(), ec.message().c_str());
      return 1;
    }
  }
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
  std::printf("virtual-embosser on %s%s%s\n", slave.c_str(), link.empty() ? "" : " as ", link.c_str());
  std::fflush(stdout);

  tenji::embosser::Embosser embosser({o.baud, o.hold_after, o.hold_ms}, master, slave);
  if (!embosser.ready()) {
    std::fprintf(stderr, "virtual-embosser: cannot watch %s\n", slave.c_str());
    return 1;
  }
  // Jobs are saved (and their pages drawn) on a thread of their own, so that
  // the line and the device's opens and closes are watched without a pause.
  std::mutex saving;
  std::condition_variable to_save;
  std::deque<tenji::embosser::FinishedJob> finished;
  bool served = false;
  std::thread saver([&] {
    for (int number = 1;; ++number) {
      std::unique_lock lock(saving);
      to_save.wait(lock, [&] { return served || !finished.empty(); });
      if (finished.empty()) return;
      tenji::embosser::FinishedJob job = std::move(finished.front());
      finished.pop_front();
      lock.unlock();
      save_job(o, number, job);
    }
  });
  int jobs = 0;
  // The line is served ahead of other work on this machine, as an embosser's
  // own processor would serve it (where the system allows it).
  (void)::setpriority(PRIO_PROCESS, 0, -10);
  while (!stop_requested && (o.jobs == 0 || jobs < o.jobs)) {
    pollfd p[2] = {{embosser.events_fd(), POLLIN, 0}, {master, POLLIN, 0}};
    ::poll(p, 2, embosser.wait_ms());
    embosser.step([&](tenji::embosser::FinishedJob&& job) {
      ++jobs;
      std::lock_guard lock(saving);
      finished.push_back(std::move(job));
      to_save.notify_one();
    });
  }
  {
    std::lock_guard lock(saving);
    served = true;
  }
  to_save.notify_one();
  saver.join();

  if (!link.empty()) fs::remove(link, ec);
  ::close(master);
  return 0;
}
