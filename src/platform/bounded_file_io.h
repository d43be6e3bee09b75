// The one call each platform gives BoundedFile: a read of the open file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tenji::platform {

inline constexpr std::size_t READ_FAILED = static_cast<std::size_t>(-1);

// Up to `capacity` bytes; 0 at the end, READ_FAILED when the system refused.
std::size_t read_some(std::intptr_t handle, char* buffer, std::size_t capacity);

}  // namespace tenji::platform
