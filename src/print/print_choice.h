// Which pages a print takes, and why a document is refused before anything is
// sent: the command line and the printer application give the same answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/fit_check.h"
#include "print/page_plan.h"

namespace tenji {

enum class PrintRefusal {
  none,
  empty,          // no line at all (printed anyway when forced)
  no_such_pages,  // the range lies outside the document
  geometry,       // dots would land off the paper, or a setting is no number
  does_not_fit,   // longer lines than CPL, or (first page only) more than LPP
};

struct PrintChoice {
  PrintRefusal refusal = PrintRefusal::none;
  std::vector<PageSpan> pages;  // what prints, when not refused
  int page_count = 0;           // the document's pages (for no_such_pages)
  std::string geometry_problem;
  FitCheck fit;  // filled once the geometry is good
  // The document exceeds the print area as this print takes it (refused
  // unless forced): a line longer than CPL, or more than LPP lines when only
  // the first page prints.
  bool exceeds_area = false;
};

// `range`: whole pages from the document's breaks; none: its first page.
// `force` prints an empty document, and what fits of one that does not fit;
// a bad geometry is never forced.
PrintChoice choose_pages(const PrintSettings& settings, const BrailleDocument& document,
                         const std::optional<PageRange>& range, bool force);

// "印刷範囲に収まりません: 1行 32マス・1ページ 22行の設定に対し、最長の行 40マス・
// 30行の点字ファイルです。"
std::string does_not_fit_message(const PrintSettings& settings, const FitCheck& fit);

}  // namespace tenji
