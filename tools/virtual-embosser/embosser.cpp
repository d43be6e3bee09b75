#include "embosser.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tenji::embosser {

namespace {

double seconds_of(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(t.time_since_epoch()).count();
}

}  // namespace

Embosser::Embosser(const LineOptions& o, int master, const std::string& slave_path) : o_(o), master_(master) {
  // The embosser keeps the device open itself: it clears an exclusive lock
  // that a client killed mid-job left behind, and the port's last close no
  // longer hangs the line up.
  own_slave_ = ::open(slave_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ >= 0 && ::inotify_add_watch(watch_, slave_path.c_str(), IN_OPEN | IN_MODIFY | IN_CLOSE) < 0) {
    ::close(watch_);
    watch_ = -1;
  }
  line_at_ = take_at_ = Clock::now();
}

Embosser::~Embosser() {
  if (watch_ >= 0) ::close(watch_);
  if (own_slave_ >= 0) ::close(own_slave_);
}

int Embosser::wait_ms() const {
  if (!buffer_.empty()) return 2;
  for (const Job& j : jobs_)
    if (j.waiting()) return 2;
  return 100;  // an event wakes the caller sooner
}

// Opens, writes and closes of the device, in the order they happened. A
// write is reported after its bytes went in, an open before the client can
// write, a close after its last write.
void Embosser::read_events() {
  alignas(inotify_event) char buf[4096];
  for (ssize_t n; (n = ::read(watch_, buf, sizeof buf)) > 0;) {
    for (char* p = buf; p < buf + n; p += sizeof(inotify_event) + reinterpret_cast<const inotify_event*>(p)->len) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      ++events_seen_;
      if (e->mask & IN_Q_OVERFLOW) {
        // Events were lost: no boundary can be vouched for until the line is quiet.
        for (Job& j : jobs_) j.out.boundary_certain = false;
      }
      if (e->mask & IN_OPEN) {
        if (clients_++ == 0) jobs_.emplace_back();  // a second program joins the job in progress
      }
      if (e->mask & IN_MODIFY) {
        if (Job* j = newest_open_job()) j->last_write = events_seen_;
      }
      if ((e->mask & IN_CLOSE) && clients_ > 0 && --clients_ == 0 && !jobs_.empty()) {
        jobs_.back().open = false;
        (void)::ioctl(own_slave_, TIOCNXCL);  // a client killed mid-job leaves the port exclusive
      }
    }
  }
}

// Everything the line holds now. A read that finds nothing has first waited
// for the kernel to pass on what was already written, so every byte written
// before the read began is in what it returns.
std::string Embosser::read_device() {
  std::string got;
  char chunk[8192];
  for (;;) {
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n > 0) {
      got.append(chunk, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return got;
  }
}

Embosser::Job* Embosser::newest_open_job() {
  return !jobs_.empty() && jobs_.back().open ? &jobs_.back() : nullptr;
}

// A look at the events, a read of the line, another look. The bytes read
// belong to a job that wrote after the read before this one began; when
// that is one job, the charge is exact.
void Embosser::look() {
  read_events();
  const std::uint64_t before = events_seen_;
  Job* newest = jobs_.empty() ? nullptr : &jobs_.back();
  std::string got = read_device();
  read_events();
  charge(std::move(got), seen_before_last_read_, newest);
  // A closed job whose last write was reported before this read began has
  // had every byte read.
  for (Job& j : jobs_)
    if (!j.open && j.last_write <= before) j.complete = true;
  seen_before_last_read_ = before;
}

void Embosser::charge(std::string bytes, std::uint64_t window_start, Job* newest_at_read) {
  if (bytes.empty()) return;
  std::vector<Job*> writers;
  for (Job& j : jobs_)
    if (j.last_write > window_start) writers.push_back(&j);
  Job* to = writers.empty() ? nullptr : writers.front();
  if (writers.size() > 1) {
    // The split cannot be told. An older job's last bytes were most likely
    // taken by the read that followed its last write: the job that was
    // newest when this read began is the likely writer.
    for (Job* j : writers) j->out.boundary_certain = false;
    if (std::find(writers.begin(), writers.end(), newest_at_read) != writers.end()) to = newest_at_read;
  }
  if (!to) {
    // A write still being reported: it can only be a client that has the port.
    to = newest_open_job();
  }
  if (!to) {
    // Bytes from no client seen (the watch missed it): a job of their own.
    jobs_.emplace_back();
    to = &jobs_.back();
    to->open = false;
    to->complete = true;
    to->out.boundary_certain = false;
  }
  to->line += bytes;
}

// The line carries waiting bytes back to back at its speed while the buffer
// has room. A line with nothing waiting, or stopped by a full buffer, saves
// up no time; a round that comes late catches up, as a real line would not
// have waited for this process.
void Embosser::line(Clock::time_point now) {
  Job* job = nullptr;
  for (Job& j : jobs_)
    if (j.waiting()) {
      job = &j;
      break;
    }
  std::size_t room = RECEIVE_BUFFER - buffer_.size();
  if (!job || room == 0) {
    line_at_ = now;
    return;
  }
  const auto byte_time = o_.baud > 0 ? std::chrono::duration<double>(10.0 / static_cast<double>(o_.baud))
                                     : std::chrono::duration<double>(0);
  while (job && room > 0) {
    Clock::time_point at = now;
    if (o_.baud > 0) {
      at = line_at_ + std::chrono::duration_cast<Clock::duration>(byte_time);
      if (at > now) return;  // the next byte is still on its way
      line_at_ = at;
    }
    const double when = seconds_of(at);
    if (job->out.bytes.empty() && job->buffered == 0) job->out.first_byte_at = when;
    job->out.last_byte_at = when;
    buffer_.push_back(job);
    buffer_bytes_.push_back(job->line[job->line_sent++]);
    ++job->buffered;
    --room;
    if (!job->waiting()) {
      job->line.clear();
      job->line_sent = 0;
      job = nullptr;
      for (Job& j : jobs_)
        if (j.waiting()) {
          job = &j;
          break;
        }
    }
  }
  line_at_ = now;  // emptied, or stopped by the full buffer
}

// The mechanism takes bytes at the line speed, unless it is held.
void Embosser::mechanism(Clock::time_point now) {
  if (now < hold_until_) {
    take_at_ = hold_until_;
    return;
  }
  if (buffer_.empty()) {
    take_at_ = now;
    return;
  }
  const auto byte_time = o_.baud > 0 ? std::chrono::duration<double>(10.0 / static_cast<double>(o_.baud))
                                     : std::chrono::duration<double>(0);
  while (!buffer_.empty()) {
    if (o_.baud > 0) {
      const Clock::time_point at = take_at_ + std::chrono::duration_cast<Clock::duration>(byte_time);
      if (at > now) return;
      take_at_ = at;
    }
    Job* job = buffer_.front();
    if (!job->held && o_.hold_after >= 0 && job->out.bytes.size() == static_cast<std::size_t>(o_.hold_after)) {
      job->held = true;  // once a job
      hold_until_ = now + std::chrono::milliseconds(o_.hold_ms);
      take_at_ = hold_until_;
      return;
    }
    job->out.bytes += buffer_bytes_.front();
    --job->buffered;
    buffer_.pop_front();
    buffer_bytes_.pop_front();
  }
  take_at_ = now;
}

void Embosser::flow_control() {
  if (!xoff_sent_ && buffer_.size() >= XOFF_AT) send_flow(false);
  if (xoff_sent_ && buffer_.size() <= XON_AT) send_flow(true);
}

void Embosser::send_flow(bool on) {
  (void)!::write(master_, on ? "\x11" : "\x13", 1);
  xoff_sent_ = !on;
}

void Embosser::step(const std::function<void(FinishedJob&&)>& done) {
  look();
  // A job that has just closed is looked at again at once: a read that
  // finds nothing of it completes it before the next client can write.
  for (int again = 0; again < 3 && std::any_of(jobs_.begin(), jobs_.end(), [](const Job& j) {
                        return !j.open && !j.complete;
                      });
       ++again)
    look();
  const auto now = Clock::now();
  line(now);
  mechanism(now);
  flow_control();
  // A job has ended when its client has gone, every byte it wrote has been
  // read, and the mechanism has them all. A client that wrote nothing made
  // no job, unless its bytes may have gone to its neighbour.
  while (!jobs_.empty()) {
    Job& j = jobs_.front();
    if (j.open || !j.complete || j.waiting() || j.buffered != 0) break;
    if (!j.out.bytes.empty() || !j.out.boundary_certain) done(std::move(j.out));
    jobs_.pop_front();
  }
}

}  // namespace tenji::embosser
