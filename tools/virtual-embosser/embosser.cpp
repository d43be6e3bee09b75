#include "embosser.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tenji::embosser {

namespace {

double seconds_now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// Bytes the line may deliver in one round after a pause: 20 ms worth.
double Embosser::burst() const { return std::max(4.0, static_cast<double>(o_.baud) / 10.0 * 0.02); }

Embosser::Embosser(const LineOptions& o, int master, const std::string& slave_path) : o_(o), master_(master) {
  // The embosser keeps the device open itself: it clears an exclusive lock
  // that a client killed mid-job left behind, and the port's last close no
  // longer hangs the line up.
  own_slave_ = ::open(slave_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ >= 0 && ::inotify_add_watch(watch_, slave_path.c_str(), IN_OPEN | IN_CLOSE) < 0) {
    ::close(watch_);
    watch_ = -1;
  }
  line_at_ = take_at_ = Clock::now();
}

Embosser::~Embosser() {
  if (watch_ >= 0) ::close(watch_);
  if (own_slave_ >= 0) ::close(own_slave_);
}

// Opens and closes of the device, in the order they happened.
void Embosser::device_events() {
  alignas(inotify_event) char buf[4096];
  for (ssize_t n; (n = ::read(watch_, buf, sizeof buf)) > 0;) {
    for (char* p = buf; p < buf + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      if (e->mask & IN_OPEN) {
        if (clients_++ > 0) continue;
        if (!jobs_.empty()) jobs_.back().last = false;  // what comes now is the new client's
        jobs_.emplace_back();
      } else if ((e->mask & IN_CLOSE) && clients_ > 0 && --clients_ == 0 && !jobs_.empty()) {
        // What is still on the line belongs to the job that just ended.
        int unread = 0;
        if (::ioctl(master_, FIONREAD, &unread) != 0) unread = 0;
        Job& job = jobs_.back();
        job.open = false;
        job.unread = unread;
        job.quiet_since = Clock::now();
        (void)::ioctl(own_slave_, TIOCNXCL);  // a client killed mid-job leaves the port exclusive
      }
      p += sizeof(inotify_event) + e->len;
    }
  }
}

// The job whose bytes come off the line next: the oldest one that still has
// some there.
Embosser::Job* Embosser::line_job() {
  for (Job& j : jobs_)
    if (j.open || j.unread > 0 || j.last) return &j;
  return nullptr;
}

void Embosser::line(Clock::time_point now) {
  std::size_t allowed = RECEIVE_BUFFER - buffer_.size();
  if (o_.baud > 0) {
    line_budget_ += std::chrono::duration<double>(now - line_at_).count() * static_cast<double>(o_.baud) / 10.0;
    line_budget_ = std::min(line_budget_, burst());  // an idle line saves up no bytes
    allowed = std::min(allowed, static_cast<std::size_t>(line_budget_));
  }
  line_at_ = now;
  while (allowed > 0) {
    Job* job = line_job();
    if (!job) return;
    std::size_t n = allowed;
    if (!job->open && !job->last) n = std::min(n, static_cast<std::size_t>(job->unread));
    char chunk[4096];
    const ssize_t got = ::read(master_, chunk, std::min(n, sizeof chunk));
    if (got <= 0) return;
    job->quiet_since = now;
    const double at = seconds_now();
    if (job->out.bytes.empty() && job->buffered == 0) job->out.first_byte_at = at;
    job->out.last_byte_at = at;
    for (ssize_t i = 0; i < got; ++i) buffer_.push_back(job);
    buffer_bytes_.append(chunk, static_cast<std::size_t>(got));
    job->buffered += static_cast<std::size_t>(got);
    if (!job->open) job->unread = std::max(0L, job->unread - static_cast<long>(got));
    if (o_.baud > 0) line_budget_ -= static_cast<double>(got);
    allowed -= static_cast<std::size_t>(got);
  }
}

// The mechanism takes bytes at the line speed, unless it is held.
void Embosser::mechanism(Clock::time_point now) {
  if (now < hold_until_) {
    take_at_ = now;
    return;
  }
  std::size_t allowed = buffer_.size();
  if (o_.baud > 0) {
    take_budget_ += std::chrono::duration<double>(now - take_at_).count() * static_cast<double>(o_.baud) / 10.0;
    take_budget_ = std::min(take_budget_, burst());
    allowed = std::min(allowed, static_cast<std::size_t>(take_budget_));
  }
  take_at_ = now;
  for (; allowed > 0 && !buffer_.empty(); --allowed) {
    Job* job = buffer_.front();
    if (!job->held && o_.hold_after >= 0 && job->out.bytes.size() == static_cast<std::size_t>(o_.hold_after)) {
      job->held = true;  // once a job
      hold_until_ = now + std::chrono::milliseconds(o_.hold_ms);
      return;
    }
    job->out.bytes += buffer_bytes_.front();
    --job->buffered;
    buffer_.pop_front();
    buffer_bytes_.erase(0, 1);
    if (o_.baud > 0) take_budget_ -= 1;
  }
}

void Embosser::flow_control(Clock::time_point) {
  if (!xoff_sent_ && buffer_.size() >= XOFF_AT) send_flow(false);
  if (xoff_sent_ && buffer_.size() <= XON_AT) send_flow(true);
}

void Embosser::send_flow(bool on) {
  (void)!::write(master_, on ? "\x11" : "\x13", 1);
  xoff_sent_ = !on;
}

void Embosser::step(const std::function<void(FinishedJob&&)>& done) {
  const auto now = Clock::now();
  device_events();
  line(now);
  mechanism(now);
  flow_control(now);
  // A job has ended when its client has gone, its bytes are off the line
  // (known, or the line has been quiet a while) and the mechanism has them.
  const auto ended = [now](const Job& j) {
    return !j.open && j.buffered == 0 && j.unread == 0 && (!j.last || now - j.quiet_since >= QUIET);
  };
  while (!jobs_.empty() && ended(jobs_.front())) {
    done(std::move(jobs_.front().out));
    jobs_.pop_front();
  }
}

}  // namespace tenji::embosser
