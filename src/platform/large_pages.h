// A large buffer that is filled once, front to back (a book's cells): the
// system is asked to back it with large pages, where it has them, so that
// filling it costs a few hundred page faults instead of thousands.
#pragma once

#include <cstddef>

namespace tenji::platform {

void prefer_large_pages(void* start, std::size_t bytes);

}  // namespace tenji::platform
