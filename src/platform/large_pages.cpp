#include "platform/large_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tenji::platform {

void prefer_large_pages([[maybe_unused]] void* start, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole 2 MB pages inside the buffer can be large.
  constexpr std::uintptr_t LARGE = 2u << 20;
  const auto from = (reinterpret_cast<std::uintptr_t>(start) + LARGE - 1) & ~(LARGE - 1);
  const auto to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(LARGE - 1);
  if (to > from) (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace tenji::platform
