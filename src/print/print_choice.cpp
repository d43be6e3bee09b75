#include "print/print_choice.h"

#include <string>

#include "print/geometry_check.h"

namespace tenji {

PrintChoice choose_pages(const PrintSettings& settings, const BrailleDocument& document,
                         const std::optional<PageRange>& range, bool force) {
  PrintChoice c;
  if (document.line_count() == 0 && !force) {
    c.refusal = PrintRefusal::empty;
    return c;
  }
  if (range) {
    const std::vector<PageSpan> all = paginate(document, settings.LPP);
    c.page_count = static_cast<int>(all.size());
    c.pages = select_pages(all, *range);
    if (c.pages.empty()) {
      c.refusal = PrintRefusal::no_such_pages;
      return c;
    }
  } else {
    c.pages = first_page_only(document, settings.LPP);
  }
  if (const auto problem = check_geometry(settings, document, c.pages)) {
    c.refusal = PrintRefusal::geometry;
    c.geometry_problem = *problem;
    return c;
  }
  c.fit = check_fit(settings, document);
  // Across whole pages, lines beyond LPP go on the next page; only lines too
  // long stop.
  c.exceeds_area = c.fit.result == -1 || (c.fit.result == -2 && !range);
  if (c.exceeds_area && !force) c.refusal = PrintRefusal::does_not_fit;
  return c;
}

std::string does_not_fit_message(const PrintSettings& settings, const FitCheck& fit) {
  return "印刷範囲に収まりません: 1行 " + std::to_string(settings.CPL) + "マス・1ページ " +
         std::to_string(settings.LPP) + "行の設定に対し、最長の行 " + std::to_string(fit.longest_line) + "マス・" +
         std::to_string(fit.line_count) + "行の点字ファイルです。";
}

}  // namespace tenji
