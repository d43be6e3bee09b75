#include "print/progress_text.h"

#include <cstdio>

#include "print/emboss_job.h"

namespace tenji {

std::uint64_t bytes_at_embosser(const JobProgress& p) {
  return p.bytes_sent > p.bytes_on_the_way ? p.bytes_sent - p.bytes_on_the_way : 0;
}

long seconds_left(const JobProgress& p) {
  if (p.baud <= 0) return 0;
  const std::uint64_t done = bytes_at_embosser(p);
  const std::uint64_t left = p.bytes_total > done ? p.bytes_total - done : 0;
  const auto baud = static_cast<std::uint64_t>(p.baud);
  return static_cast<long>((left * 10 + baud - 1) / baud);
}

std::string describe_progress(const JobProgress& p, bool with_percent) {
  // No share of a job whose size is not known.
  char percent[16] = "";
  if (with_percent && p.bytes_total > 0) {
    const double done = static_cast<double>(bytes_at_embosser(p)) / static_cast<double>(p.bytes_total);
    std::snprintf(percent, sizeof percent, "  %3d%%", static_cast<int>(done * 100.0));
  }
  const long left = seconds_left(p);
  // The page only when there is more than one.
  char page[48] = "";
  if (p.pages > 1) std::snprintf(page, sizeof page, "  %d/%dページ", p.page, p.pages);
  char time[48];
  if (left >= 60)
    std::snprintf(time, sizeof time, "残り約%ld分%02ld秒", left / 60, left % 60);
  else
    std::snprintf(time, sizeof time, "残り約%ld秒", left);
  char buf[200];
  std::snprintf(buf, sizeof buf, "%d/%d部%s  %d/%d行%s  %s", p.copy, p.copies, page, p.line, p.lines, percent, time);
  return buf;
}

std::string describe_position(const JobProgress& p) {
  char page[40] = "";
  if (p.pages > 1) std::snprintf(page, sizeof page, " %d/%dページ", p.page, p.pages);
  char text[96];
  std::snprintf(text, sizeof text, "%d/%d部%s %d/%d行", p.copy, p.copies, page, p.line, p.lines);
  return text;
}

std::string describe_end(const JobProgress& last, int result) {
  // Where the paper stopped, to resume from: "（1/2部 3/12ページ 14/22行まで）".
  const std::string reached = "（" + describe_position(last) + "まで）";
  if (result != 1) return std::string("印刷できませんでした。") + (last.copies > 0 ? reached : "");
  if (last.cancelled) return std::string(CANCELLED_MESSAGE) + reached;
  return "印刷が終わりました（" + std::to_string(last.copies) + "部）。";
}

}  // namespace tenji
