// Starts a helper program (the virtual embosser, tenjiprint) for tests and
// benchmarks, its output kept out of their logs. POSIX only.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace tenji {

// Starts `args` (the program first); -1 if it cannot.
pid_t spawn_quiet(std::vector<std::string> args);

}  // namespace tenji
