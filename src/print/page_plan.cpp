#include "print/page_plan.h"

#include <algorithm>
#include <charconv>

namespace tenji {

std::vector<PageSpan> paginate(const BrailleDocument& doc, int lpp) {
  std::vector<PageSpan> pages;
  const int per_page = std::max(lpp, 1);
  std::vector<int> starts = {1};
  for (int b : doc.page_breaks()) starts.push_back(b);
  starts.push_back(doc.line_count() + 1);
  for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
    const int first = starts[s], end = starts[s + 1];
    if (first == end) pages.push_back({first, 0, 0});  // an empty source page: a blank sheet
    for (int line = first; line < end; line += per_page) pages.push_back({line, std::min(per_page, end - line), 0});
  }
  if (lpp < 1)  // nothing fits a page: the sheets stay blank
    for (auto& p : pages) p.lines = 0;
  return pages;
}

std::vector<PageSpan> first_page_only(const BrailleDocument& doc, int lpp) {
  if (doc.page_breaks().empty()) return {};
  return {paginate(doc, lpp).front()};
}

std::optional<PageRange> parse_page_range(std::string_view text) {
  auto number = [](std::string_view s, int& n) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && end == s.data() + s.size() && n >= 1;
  };
  PageRange r;
  if (text == "all") return r;
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) {
    if (!number(text, r.from)) return std::nullopt;
    r.to = r.from;
    return r;
  }
  if (!number(text.substr(0, dash), r.from) || !number(text.substr(dash + 1), r.to) || r.to < r.from)
    return std::nullopt;
  return r;
}

std::vector<PageSpan> select_pages(const std::vector<PageSpan>& pages, const PageRange& r) {
  const int last = r.to == 0 ? static_cast<int>(pages.size()) : r.to;
  if (r.from < 1 || r.from > last || last > static_cast<int>(pages.size())) return {};
  std::vector<PageSpan> out(pages.begin() + (r.from - 1), pages.begin() + last);
  if (r.from_line < 1 || (r.from_line > 1 && r.from_line > out.front().lines)) return {};
  out.front().skip = r.from_line - 1;
  return out;
}

}  // namespace tenji
