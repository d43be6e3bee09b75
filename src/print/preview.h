// What a print will raise, seen before paper is spent. A sheet of the
// preview is made from the bytes the job would send for it (the same walk
// and command stream) read back by the embosser's decoder, so the preview
// cannot differ from the paper. Sheets are made when they are asked for: a
// long book costs no more than the sheet on show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/page_plan.h"
#include "print/stream_decoder.h"

namespace tenji {

struct PreviewSummary {
  int pages = 0;   // of one copy
  int copies = 0;
  int sheets = 0;  // of all copies: one page a sheet
  std::uint64_t lines = 0, cells = 0, dots = 0, bytes = 0;  // of all copies
  int baud = 0;
  double seconds = 0;  // on the line at that speed
};

// One line an item: "2部 × 3ページ（6枚）", "14行、90マス", "274点",
// "2,303バイト", "9600 bit/s で約2.4秒".
std::string summary_text(const PreviewSummary& summary);

// Which way a sheet is looked at: from the raised side, as it is read, or
// as the embosser strikes it, the mirror image across the page.
enum class PreviewSide { raised, emboss };

class Preview {
 public:
  // `pages` and `copies` as the job takes them (no pages: the first LPP
  // lines). The document must outlive the preview.
  Preview(const PrintSettings& settings, const BrailleDocument& document, std::vector<PageSpan> pages, int copies);

  const PreviewSummary& summary() const { return summary_; }
  int sheet_count() const { return summary_.sheets; }
  int copy_of(int sheet) const;  // from 1
  int page_of(int sheet) const;  // from 1, of the pages printed

  // Sheet n (from 1): its dots as the embosser reads them from the stream.
  RaisedPage sheet(int n, PreviewSide side = PreviewSide::raised) const;
  // The bytes the job sends for sheet n alone: reset, dot size, its cells,
  // the page end, CR.
  std::string sheet_stream(int n) const;
  // Its Braille as it will be raised: a text line for every line of the
  // sheet (a resumed page's first lines blank), each cell a pattern of
  // U+2800-U+283F at its place, made from the dots found where the cell's
  // dots go.
  std::string braille_text(int n, PreviewSide side = PreviewSide::raised) const;

 private:
  const PrintSettings settings_;
  const BrailleDocument& document_;
  std::vector<PageSpan> pages_;
  PreviewSummary summary_;
};

}  // namespace tenji
