#include "print/emboss_job.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include "print/command_stream.h"
#include "print/printing_flag.h"
#include "serial/serial_driver.h"

namespace tenji {

std::atomic<int> printing_flag{0};

namespace {

enum class Outcome { finished, cancelled_after_cell, cancelled_in_wait, failed };

Outcome from_send(SendResult r) {
  switch (r) {
    case SendResult::sent: return Outcome::finished;
    case SendResult::cancelled:
    case SendResult::stalled: return Outcome::cancelled_in_wait;
    case SendResult::failed: break;
  }
  return Outcome::failed;
}

int lines_to_print(const PrintSettings& s, const BrailleDocument& doc) {
  return s.LPP < 0 ? 0 : std::min(doc.line_count(), s.LPP);
}

class Job {
 public:
  explicit Job(std::unique_ptr<EmbossJobParams> p) : p_(std::move(p)), s_(p_->settings) {}

  int run() {
    const int baud = baud_for_speed_index(s_.COM_SPEED);
    progress_.baud = baud;
    if (baud == 0) return fail_connection(nullptr);

    current_port = port_open(s_.COM_PORT, baud, 'N', 8, 1);
    SerialPort* port = current_port;
    if (port->status != 0) return fail_connection(port);  // and closes it: a refused port must not stay busy
    if (cts_on(port) == 0) return fail_connection(port);

    if (s_.COM_FLOW == 1) {
      port->set_xon_xoff(port, 1);
      port->set_rts_cts(port, 0);
    } else if (s_.COM_FLOW == 2) {
      port->set_xon_xoff(port, 0);
      port->set_rts_cts(port, 1);
    }
    port->set_dtr_dsr(port, 1);

    int starting = PRINTING_FLAG_STARTING;
    if (!printing_flag.compare_exchange_strong(starting, 1)) {
      // Cancel came while the port was opening: nothing is printed.
      close_port();
      return finish(1, 0);
    }

    reset_stream_bytes_sent();
    set_send_wait_mode(WaitMode::cancellable);
    progress_.copies = p_->copies;
    progress_.lines = lines_to_print(s_, *p_->document);
    progress_.bytes_total = planned_stream_bytes(s_, *p_->document, p_->copies);

    Outcome outcome = from_send(send_reset());
    if (outcome == Outcome::finished) outcome = print_copies();
    if (outcome == Outcome::failed) return fail_line();
    return wind_up(outcome);
  }

 private:
  Outcome print_copies() {
    const int dx = mm_to_steps(s_.TEN_HEIGHT, VERTICAL_STEP_MM);
    const int dy = mm_to_steps(s_.TEN_WIDTH, HORIZONTAL_STEP_MM);
    const BrailleDocument& doc = *p_->document;
    char text[BRAILLE_LINE_MAX + 1];

    for (int copy = 1; copy <= p_->copies; ++copy) {
      double line_mm = s_.START_X;
      bool dot_size_sent = false;
      const int n = doc.line_count();
      progress_.copy = copy;
      for (int line = 1; line <= n && line <= s_.LPP; ++line) {
        double cell_mm = s_.START_Y;
        doc.get_line(text, line);
        const int length = static_cast<int>(std::strlen(text));
        progress_.line = line;
        for (int j = 0; j < length && j < s_.CPL; ++j) {
          const int pattern = static_cast<unsigned char>(text[j]) - 0xA0;
          int x, y;
          if (p_->pitch_test) {
            x = s_.PITCH_X;
            y = s_.PITCH_Y;
          } else {
            x = mm_to_steps(line_mm, VERTICAL_STEP_MM);
            y = mm_to_steps(cell_mm, HORIZONTAL_STEP_MM);
          }
          if (!dot_size_sent) {
            if (Outcome o = from_send(send_dot_size(s_.TEN_KIND)); o != Outcome::finished) return o;
            dot_size_sent = true;
          }
          if (Outcome o = from_send(plot_cell(pattern, x, y, dx, dy, s_.BACK_PITCH)); o != Outcome::finished)
            return o;
          progress_.cell = j + 1;
          report();
          if (printing_flag.load() == 0) return Outcome::cancelled_after_cell;
          cell_mm = (cell_mm + s_.MASU_BETWEEN) + s_.TEN_WIDTH;
        }
        line_mm = (2 * s_.TEN_HEIGHT + s_.GYO_BETWEEN) + line_mm;
      }
      if (Outcome o = from_send(send_page_end()); o != Outcome::finished) return o;
      report();
    }
    return Outcome::finished;
  }

  // The normal end, also after a Cancel: CR, the queue drained, port closed.
  int wind_up(Outcome outcome) {
    SerialPort* port = current_port;
    if (outcome == Outcome::cancelled_in_wait) port->clear_tx_buffer(port);
    bool cancelled = outcome != Outcome::finished;
    set_send_wait_mode(cancelled ? WaitMode::bounded : WaitMode::cancellable);

    SendResult r = send_cr();
    if (r == SendResult::cancelled) {  // Cancel while the final CR waited for room
      cancelled = true;
      port->clear_tx_buffer(port);
      set_send_wait_mode(WaitMode::bounded);
      r = send_cr();
    }
    if (r == SendResult::failed) return fail_line();
    report();

    // Drain. A Cancel here discards what is queued; after a Cancel the wait
    // ends once the line has not moved for the stall limit.
    LineStallWatch stall;
    for (;;) {
      const int used = port->tx_used(port);
      if (used <= 0) break;
      if (!cancelled && printing_flag.load() == 0) {
        cancelled = true;
        port->clear_tx_buffer(port);
        set_send_wait_mode(WaitMode::bounded);
        if (send_cr() == SendResult::failed) return fail_line();
        continue;
      }
      if (stall.stalled(used) && cancelled) {
        port->clear_tx_buffer(port);
        break;
      }
      serial_driver_defaults.idle_hook(port);
    }
    close_port();
    return finish(1, 0);
  }

  // Failure ends A and B: nothing was sent.
  int fail_connection(SerialPort* port) {
    int starting = PRINTING_FLAG_STARTING;
    printing_flag.compare_exchange_strong(starting, 0);
    p_->notify_window->show_message(PRINTER_CONNECTION_MESSAGE, PRINT_ERROR_CAPTION, MessageIcon::error);
    if (port) close_port();
    return finish(2, 1);
  }

  // A byte could not be sent: the line is dead, so the job stops.
  int fail_line() {
    SerialPort* port = current_port;
    port->clear_tx_buffer(port);
    close_port();
    p_->notify_window->show_message(PRINTER_CONNECTION_MESSAGE, PRINT_ERROR_CAPTION, MessageIcon::error);
    return finish(2, 1);
  }

  void close_port() {
    SerialPort* port = current_port;
    current_port = nullptr;
    port->close(port);
  }

  int finish(int done, int exit_code) {
    JobObserver* observer = p_->notify_window;
    p_.reset();  // the record is released before the window hears of the end
    observer->job_done(done);
    return exit_code;
  }

  void report() {
    progress_.bytes_sent = stream_bytes_sent();
    p_->notify_window->progress(progress_);
  }

  std::unique_ptr<EmbossJobParams> p_;
  const PrintSettings s_;
  JobProgress progress_;
};

}  // namespace

int baud_for_speed_index(int com_speed) {
  switch (com_speed) {
    case 0: return 1200;
    case 1: return 2400;
    case 2: return 4800;
    case 3: return 9600;
    default: return 0;
  }
}

std::uint64_t planned_stream_bytes(const PrintSettings& s, const BrailleDocument& doc, int copies) {
  std::uint64_t per_copy = 5;  // page end
  bool any_cell = false;
  char text[BRAILLE_LINE_MAX + 1];
  for (int line = 1; line <= lines_to_print(s, doc); ++line) {
    doc.get_line(text, line);
    const int length = static_cast<int>(std::strlen(text));
    for (int j = 0; j < length && j < s.CPL; ++j) {
      per_copy += static_cast<std::uint64_t>(cell_byte_count(static_cast<unsigned char>(text[j]) - 0xA0));
      any_cell = true;
    }
  }
  if (any_cell) per_copy += 4;  // dot size
  return 3 + (copies > 0 ? per_copy * static_cast<std::uint64_t>(copies) : 0) + 1;
}

namespace {

// The thread of the last job. Only one job runs at a time and the window
// that started it waits for its end, so the next start (or the end of the
// program) finds it finished and only has to collect it. Collecting it,
// rather than leaving it detached, also keeps some thread libraries from
// tripping over a thread that ends while the next one starts.
class JobThreadSlot {
 public:
  void start(EmbossJobParams* params) {
    if (thread_.joinable()) thread_.join();
    thread_ = std::thread(emboss_job_thread, params);
  }
  ~JobThreadSlot() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

JobThreadSlot& job_thread_slot() {
  static JobThreadSlot slot;
  return slot;
}

}  // namespace

int emboss_job_thread(EmbossJobParams* params) {
  Job job{std::unique_ptr<EmbossJobParams>(params)};
  return job.run();
}

void start_emboss_job(const PrintSettings& settings, const char* document_path, JobObserver* notify_window,
                      const BrailleDocument* document, int copies, int pitch_test) {
  auto params = std::make_unique<EmbossJobParams>();
  params->settings = settings;
  std::memset(params->document_path, 0, sizeof params->document_path);
  if (document_path) std::strncpy(params->document_path, document_path, sizeof params->document_path - 1);
  params->notify_window = notify_window;
  params->document = document;
  params->copies = copies;
  params->pitch_test = pitch_test;

  printing_flag.store(PRINTING_FLAG_STARTING);
  EmbossJobParams* raw = params.release();
  try {
    job_thread_slot().start(raw);
  } catch (const std::system_error& e) {
    delete raw;
    printing_flag.store(0);
    char text[64];
    std::snprintf(text, sizeof text, "CreateThread() Error ! [%d]", e.code().value());
    notify_window->show_message(text, "Error", MessageIcon::none);
    notify_window->job_done(2);
  }
}

}  // namespace tenji
