// The embossing job: on a thread of its own it opens the port, walks copies,
// lines and cells, and has every cell plotted at its device position.
#pragma once

#include <cstdint>

#include <vector>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/job_observer.h"
#include "print/page_plan.h"

namespace tenji {

struct EmbossJobParams {
  PrintSettings settings;
  char document_path[260];
  JobObserver* notify_window;
  const BrailleDocument* document;  // not owned; alive until job_done
  int copies;
  int pitch_test;
  std::vector<PageSpan> pages;  // empty: the first LPP lines, one page a copy
};

inline constexpr const char* PRINTER_CONNECTION_MESSAGE = "点字プリンターの接続を確認してください。";
inline constexpr const char* PRINT_ERROR_CAPTION = "印刷エラー";
// After a Cancel the embosser kept the line held: the job gave up on it.
inline constexpr const char* LINE_HELD_MESSAGE =
    "点字プリンターが受信を止めたままのため、印刷を打ち切りました。\n"
    "送りきれなかったデータは捨てました。次の印刷は点字プリンターのリセットから始まります。";
inline constexpr const char* CANCEL_CAPTION = "印刷の中止";
inline constexpr const char* CANCELLED_MESSAGE = "印刷を中止しました。";

// Starts the job and returns at once. Sets printing_flag to
// PRINTING_FLAG_STARTING; the job raises it to 1 when the port is ready.
// `pages`: the pages to print, all of them for each copy; none: the
// document's first LPP lines.
void start_emboss_job(const PrintSettings& settings, const char* document_path, JobObserver* notify_window,
                      const BrailleDocument* document, int copies, int pitch_test,
                      std::vector<PageSpan> pages = {});

// The thread routine; owns and releases `params`. 0 after completion or
// cancellation, 1 after a failure.
int emboss_job_thread(EmbossJobParams* params);

// The line speed for COM_SPEED 0..3, or 0 for any other value.
int baud_for_speed_index(int com_speed);

// Every byte the job will send for this document and these settings.
std::uint64_t planned_stream_bytes(const PrintSettings& settings, const BrailleDocument& document, int copies,
                                   const std::vector<PageSpan>& pages = {});

}  // namespace tenji
