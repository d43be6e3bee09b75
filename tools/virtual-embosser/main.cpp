// virtual-embosser: stands in for the Braille embosser on a pseudo-terminal
// linked as a COM port, so the program prints without hardware. Every job
// (what arrives between an open and a close of the port) is saved raw,
// decoded to JSON, and drawn page by page as SVG and PNG.
#include <QGuiApplication>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "page_output.h"
#include "serial/com_device_path.h"
#include "stream_decoder.h"

namespace {

using Clock = std::chrono::steady_clock;
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
  tenji::embosser::Paper paper;
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
               "  An input buffer of 512 bytes is kept with XON/XOFF, as an embosser does.\n"
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
      if (p == "a4") o.paper = {210.0, 297.0};
      else if (p == "b5") o.paper = {182.0, 257.0};
      else return false;
    } else return false;
  }
  return true;
}

// The embosser as the line sees it: bytes arrive into a small input buffer
// and are taken from it no faster than the line speed; when the buffer runs
// full the embosser sends XOFF, and XON once it has room again.
class Embosser {
 public:
  static constexpr std::size_t BUFFER_HIGH = 512;
  static constexpr std::size_t BUFFER_LOW = 128;

  Embosser(const Options& o, int master) : o_(o), master_(master) {}

  // Serves jobs until the asked number is done or a signal arrives.
  void serve() {
    bool slave_open = false, closing = false;
    while (!stop_requested && (o_.jobs == 0 || jobs_done_ < o_.jobs)) {
      pollfd p{master_, POLLIN, 0};
      ::poll(&p, 1, 2);
      const bool hung_up = (p.revents & POLLHUP) != 0;
      // A job begins with the open of the port; bytes waiting with the port
      // already closed again are a job too short to have been seen open.
      if (!slave_open && !closing && (!hung_up || (p.revents & POLLIN))) {
        slave_open = true;
        start_job();
      }
      if (slave_open || closing) {
        receive();
        if (slave_open && hung_up) {
          slave_open = false;  // the port was closed; what is buffered still belongs to the job
          closing = true;
        }
        take(Clock::now());
        control_flow(Clock::now());
        if (closing && pending_.empty()) {
          closing = false;
          finish_job();
        }
      }
      if (hung_up && !closing) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

 private:
  void start_job() {
    bytes_.clear();
    pending_.clear();
    budget_ = 0;
    last_take_ = Clock::now();
    xoff_sent_ = false;
    held_ = false;
    hold_done_ = false;
  }

  void receive() {
    char buf[4096];
    ssize_t n;
    while ((n = ::read(master_, buf, sizeof buf)) > 0) pending_.append(buf, static_cast<std::size_t>(n));
  }

  // Takes bytes out of the input buffer at the line speed.
  void take(Clock::time_point now) {
    if (held_) {
      last_take_ = now;
      return;
    }
    std::size_t allowed = pending_.size();
    if (o_.baud > 0) {
      budget_ += std::chrono::duration<double>(now - last_take_).count() * static_cast<double>(o_.baud) / 10.0;
      if (pending_.empty() && budget_ > 1) budget_ = 1;  // an idle line saves up no bytes
      allowed = std::min(allowed, static_cast<std::size_t>(budget_));
    }
    last_take_ = now;
    if (o_.hold_after >= 0 && !hold_done_) {
      const std::size_t hold_at = static_cast<std::size_t>(o_.hold_after);
      allowed = std::min(allowed, hold_at - std::min(hold_at, bytes_.size()));
      if (bytes_.size() >= hold_at) {
        hold_done_ = true;
        held_ = true;
        hold_until_ = now + std::chrono::milliseconds(o_.hold_ms);
        send_flow(false);
        return;
      }
    }
    if (allowed == 0) return;
    if (bytes_.empty()) first_byte_ = now;
    last_byte_ = now;
    bytes_.append(pending_, 0, allowed);
    pending_.erase(0, allowed);
    if (o_.baud > 0) budget_ -= static_cast<double>(allowed);
  }

  void control_flow(Clock::time_point now) {
    if (held_) {
      if (now < hold_until_) return;
      held_ = false;
    }
    if (!xoff_sent_ && pending_.size() >= BUFFER_HIGH) send_flow(false);
    if (xoff_sent_ && pending_.size() <= BUFFER_LOW) send_flow(true);
  }

  void send_flow(bool on) {
    (void)!::write(master_, on ? "\x11" : "\x13", 1);
    xoff_sent_ = !on;
  }

  void finish_job() {
    ++jobs_done_;
    const std::string base = (fs::path(o_.out) / ("job-" + std::to_string(jobs_done_))).string();
    const auto decoded = tenji::embosser::decode_stream(bytes_);
    const double seconds = bytes_.empty() ? 0.0 : std::chrono::duration<double>(last_byte_ - first_byte_).count();
    std::string files;
    auto save = [&files](const std::string& path, const std::string& bytes) {
      std::ofstream(path, std::ios::binary) << bytes;
      files += " " + path;
    };
    save(base + ".bin", bytes_);
    save(base + ".json", tenji::embosser::job_json(jobs_done_, bytes_.size(), decoded, seconds));
    std::size_t dots = 0;
    for (std::size_t p = 0; p < decoded.pages.size(); ++p) {
      const std::string page = base + "-page-" + std::to_string(p + 1);
      save(page + ".svg", tenji::embosser::page_svg(decoded.pages[p], o_.paper));
      if (tenji::embosser::write_page_png(decoded.pages[p], o_.paper, page + ".png")) files += " " + page + ".png";
      dots += decoded.pages[p].dots.size();
    }
    std::printf("job %d: %zu bytes in %.3f s, %zu pages, %zu dots, %zu protocol errors ->%s\n", jobs_done_,
                bytes_.size(), seconds, decoded.pages.size(), dots, decoded.errors.size(), files.c_str());
    std::fflush(stdout);
  }

  const Options& o_;
  int master_;
  std::string bytes_;    // taken by the embosser: the job
  std::string pending_;  // arrived, not yet taken
  int jobs_done_ = 0;
  double budget_ = 0;
  Clock::time_point last_take_, first_byte_, last_byte_;
  bool xoff_sent_ = false, held_ = false, hold_done_ = false;
  Clock::time_point hold_until_;
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    usage();
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);  // fonts for the page pictures

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

  Embosser embosser(o, master);
  embosser.serve();

  if (!link.empty()) fs::remove(link, ec);
  ::close(master);
  return 0;
}
