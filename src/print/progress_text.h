#pragma once

#include <string>

#include "print/job_observer.h"

namespace tenji {

// Bytes the embosser has: sent, less what is still on the way.
std::uint64_t bytes_at_embosser(const JobProgress& p);

// Seconds still to go at the line speed: ten bits a byte.
long seconds_left(const JobProgress& p);

// "2/3部  14/22行  残り約1分20秒" ("1/2部  3/12ページ  14/22行  残り約3分00秒" when
// several pages print), with the percentage after the lines when asked.
std::string describe_progress(const JobProgress& p, bool with_percent);

// Where a job is: "1/2部 3/12ページ 14/22行" (the page only when several
// print), for resuming with --from-line.
std::string describe_position(const JobProgress& p);

// How a job ended, from its last report and its WM_JOB_DONE result:
// "印刷が終わりました（2部）。", "印刷を中止しました。（1/2部 3/22行まで）" or
// "印刷できませんでした。".
std::string describe_end(const JobProgress& last, int result);

}  // namespace tenji
