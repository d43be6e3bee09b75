#include "print/emboss_job.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include "print/command_stream.h"
#include "print/print_walk.h"
#include "print/stream_sender.h"
#include "print/printing_flag.h"
#include "print/progress_text.h"
#include "serial/port_list.h"

namespace tenji {

namespace {

enum class Outcome { finished, cancelled, held, failed };

Outcome from_send(SendResult r) {
  switch (r) {
    case SendResult::sent: return Outcome::finished;
    case SendResult::stalled: return Outcome::held;
    case SendResult::failed: break;
  }
  return Outcome::failed;
}

class Job {
 public:
  explicit Job(std::unique_ptr<EmbossJobParams> p) : p_(std::move(p)), s_(p_->settings) {}

  int run() {
    const int baud = baud_for_speed_index(s_.COM_SPEED);
    progress_.baud = baud;
    if (baud == 0) return fail_connection(nullptr, "通信速度の設定 COM_SPEED=" + std::to_string(s_.COM_SPEED) + " は 0〜3 ではありません。");

    current_port = port_open(s_.COM_PORT, baud, 'N', 8, 1);
    SerialPort* port = current_port;
    // A refused port is closed again: it must not stay busy.
    if (port->status != 0) return fail_connection(port, open_failure(port, baud));
    if (cts_on(port) == 0)
      return fail_connection(port, port_name() + "のCTSが入っていません（点字プリンターの電源か、ケーブルを確認してください）。");

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
      progress_.cancelled = true;
      return finish(1, 0);
    }

    reset_stream_bytes_sent();
    pages_ = pages_of_walk(s_, *p_->document, walk_options());
    progress_.copies = p_->copies;
    progress_.pages = static_cast<int>(pages_.size());
    progress_.lines = page_lines(1);
    progress_.bytes_total = planned_stream_bytes(s_, *p_->document, p_->copies, p_->pages);

    Outcome outcome = from_send(send_reset());
    if (outcome == Outcome::finished) outcome = print_copies();
    if (outcome == Outcome::failed) return fail_line();
    return wind_up(outcome);
  }

 private:
  // Sends every copy along the walk, with the progress after every cell and
  // Cancel seen there.
  class Sender final : public StreamSender {
   public:
    explicit Sender(Job& job) : StreamSender(job.s_), job_(job) {}

    bool begin_page(int copy, int page) override {
      job_.progress_.copy = copy;
      job_.progress_.page = page;
      job_.progress_.lines = job_.page_lines(page);
      return true;
    }
    bool begin_line(const LinePlace& l) override {
      job_.progress_.line = l.line - job_.page_first_line(job_.progress_.page) + 1;
      job_.progress_.cell = 0;
      return true;
    }
    bool cell(const CellPlace& c) override {
      if (!StreamSender::cell(c)) return false;
      job_.progress_.cell = c.cell + 1;
      job_.report();
      if (printing_flag.load() == 0) {
        cancelled_ = true;
        return false;
      }
      return true;
    }
    bool end_page(int copy, int page) override {
      if (!StreamSender::end_page(copy, page)) return false;
      job_.report();
      return true;
    }

    Outcome outcome() const { return cancelled_ ? Outcome::cancelled : from_send(result); }

   private:
    Job& job_;
    bool cancelled_ = false;
  };

  Outcome print_copies() {
    Sender sender(*this);
    walk_print(s_, *p_->document, walk_options(), sender);
    return sender.outcome();
  }

  // The normal end, also after a Cancel: CR, then the line drained (by the
  // clock: the job ends when the embosser has the last byte), port closed.
  // Only a line that, after a Cancel, stays held for STALL_LIMIT_MS is given
  // up: what is queued is discarded and the user told.
  int wind_up(Outcome outcome) {
    SerialPort* port = current_port;
    if (outcome != Outcome::held) {
      const Outcome cr = from_send(send_cr());
      if (cr == Outcome::failed) return fail_line();
      if (cr == Outcome::held) outcome = Outcome::held;
    }
    LineStallWatch stall;  // starts at the first look after a Cancel
    while (outcome != Outcome::held) {
      const int used = port->tx_used(port);
      report(used);
      if (used <= 0) break;
      if (printing_flag.load() == 0 && stall.stalled(used)) outcome = Outcome::held;
      if (outcome != Outcome::held && wait_for_line(port, 1.0) < 0) return fail_line();
    }
    if (outcome == Outcome::held) {
      port->clear_tx_buffer(port);
      p_->notify_window->show_message(LINE_HELD_MESSAGE, CANCEL_CAPTION, MessageIcon::warning);
    }
    progress_.cancelled = outcome != Outcome::finished;  // a Cancel during the drain stops nothing
    close_port();
    return finish(1, 0);
  }

  // Failure ends A and B: nothing was sent.
  // "COM3（/dev/ttyUSB0、USB シリアル FTDI FT232R USB UART (A50285BI)）", or
  // where the number leads when no port answers to it: "COM1（/dev/ttyS0）".
  std::string port_name() const {
    const long long com = static_cast<long long>(s_.COM_PORT) + 1;
    const std::string found = port_label(com);
    return "COM" + std::to_string(com) + "（" +
           (found.empty() ? port_device_path(s_.COM_PORT) : found) + "）";
  }

  std::string open_failure(const SerialPort* port, int baud) const {
    const std::string code = std::string(as_error_name(port->status)) + " " + as_error_meaning(port->status);
    if (port_refused_line(port))
      return port_name() + "が通信設定（" + std::to_string(baud) + " bit/s）を受け付けませんでした（" + code + "）。";
    if (port->status == ASPORTBUSY) {
      // A device the user may not open looks busy to the driver.
      const std::string denied = port_access_problem(s_.COM_PORT);
      return port_name() + (denied.empty() ? "はほかのプログラムが使っています。" : denied);
    }
    if (port->status == ASNODEVICE)
      return port_name() + "が見つかりません（点字プリンターのケーブルと電源、周辺機器設定のポートを確認してください）。";
    return port_name() + "を開けませんでした（" + code + "）。";
  }

  // The message names the cause on a line of its own.
  int fail_connection(SerialPort* port, const std::string& cause) {
    int starting = PRINTING_FLAG_STARTING;
    printing_flag.compare_exchange_strong(starting, 0);
    p_->notify_window->show_message(std::string(PRINTER_CONNECTION_MESSAGE) + "\n" + cause, PRINT_ERROR_CAPTION,
                                    MessageIcon::error);
    if (port) close_port();
    return finish(2, 1);
  }

  // A byte could not be sent: the device is gone (an adapter pulled out, a
  // cable cut), so the job stops, saying how far it came.
  int fail_line() {
    SerialPort* port = current_port;
    port->clear_tx_buffer(port);
    close_port();
    p_->notify_window->show_message(std::string(PRINTER_CONNECTION_MESSAGE) + "\nポート " + port_name() +
                                        " が外れました（ケーブルと点字プリンターの電源を確認してください）。\n" +
                                        describe_position(progress_) + "まで送りました。",
                                    PRINT_ERROR_CAPTION, MessageIcon::error);
    return finish(2, 1);
  }

  void close_port() {
    SerialPort* port = current_port;
    current_port = nullptr;
    port->close(port);
  }

  int finish(int done, int exit_code) {
    JobObserver* observer = p_->notify_window;
    progress_.finished = true;
    progress_.failed = done == 2;
    progress_.bytes_on_the_way = 0;
    observer->progress(progress_);  // the last report always reaches the window
    p_.reset();  // the record is released before the window hears of the end
    observer->job_done(done);
    return exit_code;
  }

  WalkOptions walk_options() const {
    return {p_->copies, p_->pitch_test != 0, p_->pages};
  }
  int page_lines(int page) const { return page >= 1 && page <= static_cast<int>(pages_.size()) ? pages_[page - 1].lines : 0; }
  int page_first_line(int page) const {
    return page >= 1 && page <= static_cast<int>(pages_.size()) ? pages_[page - 1].first_line : 1;
  }

  // `on_the_way`: what the line has not yet carried, when known.
  void report(int on_the_way = -1) {
    progress_.bytes_sent = stream_bytes_sent();
    if (on_the_way >= 0) progress_.bytes_on_the_way = static_cast<std::uint64_t>(on_the_way);
    p_->notify_window->progress(progress_);
  }

  std::unique_ptr<EmbossJobParams> p_;
  const PrintSettings s_;
  JobProgress progress_;
  std::vector<PageSpan> pages_;
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

std::uint64_t planned_stream_bytes(const PrintSettings& s, const BrailleDocument& doc, int copies,
                                   const std::vector<PageSpan>& pages) {
  // Line by line, one copy: every copy sends the same.
  class Counter final : public PrintVisitor {
   public:
    explicit Counter(const BrailleDocument& d) : doc_(d) {
      for (int c = 0; c < 256; ++c) bytes_of_cell_[c] = static_cast<std::uint8_t>(cell_byte_count(c - 0xA0));
    }
    bool wants_cells() const override { return false; }
    bool begin_page(int, int) override {
      dot_size_sent_ = false;
      return true;
    }
    bool begin_line(const LinePlace& l) override {
      if (l.printed == 0) return true;
      if (!dot_size_sent_) bytes += DOT_SIZE_BYTES;
      dot_size_sent_ = true;
      for (const char c : doc_.cells(l.line).substr(0, static_cast<std::size_t>(l.printed)))
        bytes += bytes_of_cell_[static_cast<unsigned char>(c)];
      return true;
    }
    bool end_page(int, int) override {
      bytes += PAGE_END_BYTES;
      return true;
    }
    std::uint64_t bytes = 0;

   private:
    const BrailleDocument& doc_;
    bool dot_size_sent_ = false;
    std::uint8_t bytes_of_cell_[256];  // what plot_cell sends for each cell byte
  } counter(doc);
  if (copies > 0) walk_print(s, doc, {1, false, pages}, counter);
  return RESET_BYTES + static_cast<std::uint64_t>(std::max(copies, 0)) * counter.bytes + CR_BYTES;
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
                      const BrailleDocument* document, int copies, int pitch_test, std::vector<PageSpan> pages) {
  auto params = std::make_unique<EmbossJobParams>();
  params->settings = settings;
  std::memset(params->document_path, 0, sizeof params->document_path);
  if (document_path) std::strncpy(params->document_path, document_path, sizeof params->document_path - 1);
  params->notify_window = notify_window;
  params->document = document;
  params->copies = copies;
  params->pitch_test = pitch_test;
  params->pages = std::move(pages);

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
