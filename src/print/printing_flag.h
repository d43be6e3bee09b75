#pragma once

#include <atomic>

namespace tenji {

// 1 while a job may go on sending. The printing window clears it when it
// opens and on Cancel; the job raises it once its port is ready.
extern std::atomic<int> printing_flag;

// The value start_emboss_job leaves in the flag until the port is ready, so
// that a Cancel given while the port opens is seen and not overwritten.
inline constexpr int PRINTING_FLAG_STARTING = 2;

// Cancel: stops the job after the cell in progress, or ends a wait for the
// line. Safe from a signal handler.
inline void cancel_printing() { printing_flag.store(0); }

}  // namespace tenji
