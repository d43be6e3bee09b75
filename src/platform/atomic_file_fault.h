// The test hook of replace_file_atomically, for the platforms' writers.
#pragma once

#include <cstddef>
#include <string>

namespace tenji::platform {

// False when the hook wants the write to fail as if the disk were full.
bool file_write_allowed(std::size_t written_so_far);

// "<path>.tmp" and eight hexadecimal digits: the temporary files of
// replace_file_atomically.
std::string temporary_name_for(const std::string& path);

// Removes temporary files a killed run left beside `path` (of that naming
// only).
void remove_stale_temporaries(const std::string& path);

}  // namespace tenji::platform
