#pragma once

#include <atomic>

namespace tenji {

// 1 while a job may go on sending. The printing window clears it when it
// opens and on Cancel; the job raises it once its port is ready.
extern std::atomic<int> printing_flag;

// The value start_emboss_job leaves in the flag until the port is ready, so
// that a Cancel given while the port opens is seen and not overwritten.
inline constexpr int PRINTING_FLAG_STARTING = 2;

// Cancel: the job stops after the cell in progress. Wakes a job that sleeps
// waiting for the line. Not for signal handlers (it takes a lock).
void cancel_printing();

// Sleeps up to `ms`; a Cancel given meanwhile ends the sleep at once.
void sleep_unless_cancelled(int ms);

}  // namespace tenji
