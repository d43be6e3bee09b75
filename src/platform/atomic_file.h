// Whole-file replacement that never leaves a truncated file behind: the new
// contents go to a temporary file beside the target, which is then renamed
// over it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/hook.h"

namespace tenji::platform {

// Reads a whole file as bytes; nullopt when it cannot be opened.
std::optional<std::string> read_file_bytes(const std::string& path);

// Replaces `path` with `bytes`. Returns false (and leaves any old file as it
// was) when the temporary file cannot be written, flushed or renamed.
bool replace_file_atomically(const std::string& path, const std::string& bytes);

// Test hook: called before each chunk is written to the temporary file with
// the number of bytes written so far; returning false makes that write fail
// as if the disk were full.
extern Hook<std::function<bool(std::size_t written_so_far)>> file_write_fault_hook;

}  // namespace tenji::platform
