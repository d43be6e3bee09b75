#include "desktop/gui_job_observer.h"

#include <future>

#include "desktop/window_messages.h"
#include "ui/ui_services.h"

namespace tenji {

namespace {

struct JobMessage {
  std::string text, caption;
  MessageIcon icon;
  std::promise<void> closed;
};

}  // namespace

GuiJobObserver::GuiJobObserver(ui::Dialog& window) : window_(window), ui_thread_(std::this_thread::get_id()) {}

void GuiJobObserver::show_message(const std::string& text, const std::string& caption, MessageIcon icon) {
  if (std::this_thread::get_id() == ui_thread_) {  // the job could not start: no thread to wait
    ui::ui_services().message_box(&window_, text, caption, icon, ui::MessageButtons::ok);
    return;
  }
  JobMessage message{text, caption, icon, {}};
  auto closed = message.closed.get_future();
  window_.post_message(WM_JOB_MESSAGE, 0, reinterpret_cast<std::intptr_t>(&message));
  closed.wait();
}

void GuiJobObserver::show_job_message(ui::Dialog& owner, std::intptr_t lparam) {
  auto* message = reinterpret_cast<JobMessage*>(lparam);
  ui::ui_services().message_box(&owner, message->text, message->caption, message->icon, ui::MessageButtons::ok);
  message->closed.set_value();
}

// The job's last touch of this object is the store of `done_`, after the
// post: the window may destroy it once it has seen that store, and everything
// the job did comes visibly before.
void GuiJobObserver::job_done(int result) {
  window_.post_message(WM_JOB_DONE, static_cast<std::uintptr_t>(result), 0);
  done_.store(true, std::memory_order_release);
}

void GuiJobObserver::acknowledge_done() {
  while (!done_.load(std::memory_order_acquire)) std::this_thread::yield();  // a few instructions at most
}

void GuiJobObserver::progress(const JobProgress& p) {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  latest_ = p;
  // At most five updates a second, and never more than one waiting; the
  // job's last report always goes (what waits is taken with the next one).
  if (progress_posted_ || (!p.finished && now - last_post_ < std::chrono::milliseconds(200))) return;
  progress_posted_ = true;
  last_post_ = now;
  window_.post_message(WM_JOB_PROGRESS, 0, 0);
}

JobProgress GuiJobObserver::take_progress() {
  std::lock_guard lock(mutex_);
  progress_posted_ = false;
  return latest_;
}

}  // namespace tenji
