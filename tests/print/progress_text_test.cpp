#include "print/progress_text.h"

#include <gtest/gtest.h>

namespace tenji {
namespace {

JobProgress at(int copy, int copies, int page, int pages, int line, int lines) {
  JobProgress p;
  p.copy = copy, p.copies = copies, p.page = page, p.pages = pages, p.line = line, p.lines = lines;
  p.baud = 9600;
  p.bytes_total = 96000;  // 100 s at 9600 bit/s
  return p;
}

TEST(ProgressText, TheStatusLineAndTheEndOfAJob) {
  JobProgress p = at(2, 3, 1, 1, 14, 22);
  p.bytes_sent = 24000 + 480;
  p.bytes_on_the_way = 480;  // not at the embosser yet: it counts as still to go
  EXPECT_EQ(describe_progress(p, false), "2/3部  14/22行  残り約1分15秒");
  EXPECT_EQ(describe_progress(p, true), "2/3部  14/22行   25%  残り約1分15秒");
  p = at(1, 2, 3, 12, 14, 22);
  p.bytes_sent = 95040;
  EXPECT_EQ(describe_progress(p, false), "1/2部  3/12ページ  14/22行  残り約1秒");

  // A job that failed before it began has no size: no share of it is shown.
  p = JobProgress{};
  p.finished = p.failed = true;
  EXPECT_EQ(describe_progress(p, true), "0/0部  0/0行  残り約0秒");

  const struct {
    bool cancelled;
    int result, copies, pages;
    const char* text;
  } ends[] = {
      {false, 1, 2, 1, "印刷が終わりました（2部）。"},
      {true, 1, 2, 1, "印刷を中止しました。（1/2部 3/22行まで）"},
      {true, 1, 2, 12, "印刷を中止しました。（1/2部 4/12ページ 3/22行まで）"},
      {false, 2, 2, 12, "印刷できませんでした。（1/2部 4/12ページ 3/22行まで）"},
      {false, 2, 0, 0, "印刷できませんでした。"},  // before the port was open
  };
  for (const auto& e : ends) {
    JobProgress last = at(1, e.copies, 4, e.pages, 3, 22);
    last.finished = true;
    last.cancelled = e.cancelled;
    EXPECT_EQ(describe_end(last, e.result), e.text);
  }
}

}  // namespace
}  // namespace tenji
