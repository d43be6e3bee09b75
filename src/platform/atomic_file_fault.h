// The test hook of replace_file_atomically, for the platforms' writers.
#pragma once

#include <cstddef>

namespace tenji::platform {

// False when the hook wants the write to fail as if the disk were full.
bool file_write_allowed(std::size_t written_so_far);

}  // namespace tenji::platform
