#include <algorithm>
#include <cmath>

#include "resources/pixels.h"

namespace tenji::resources {

Pixels scaled(const Pixels& source, double factor) {
  if (source.width <= 0 || source.height <= 0 || !(factor > 0) || factor == 1.0) return source;
  Pixels out;
  out.width = std::max(1, static_cast<int>(std::lround(source.width * factor)));
  out.height = std::max(1, static_cast<int>(std::lround(source.height * factor)));
  out.argb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  const double fx = static_cast<double>(source.width) / out.width, fy = static_cast<double>(source.height) / out.height;
  for (int y = 0; y < out.height; ++y) {
    // The source point under the destination pixel's centre.
    const double sy = std::clamp((y + 0.5) * fy - 0.5, 0.0, source.height - 1.0);
    const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, source.height - 1);
    const double wy = sy - y0;
    for (int x = 0; x < out.width; ++x) {
      const double sx = std::clamp((x + 0.5) * fx - 0.5, 0.0, source.width - 1.0);
      const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, source.width - 1);
      const double wx = sx - x0;
      std::uint32_t pixel = 0;
      for (int shift = 0; shift <= 24; shift += 8) {
        auto channel = [&](int px, int py) { return static_cast<double>((source.at(px, py) >> shift) & 0xFF); };
        const double top = channel(x0, y0) + (channel(x1, y0) - channel(x0, y0)) * wx;
        const double bottom = channel(x0, y1) + (channel(x1, y1) - channel(x0, y1)) * wx;
        pixel |= static_cast<std::uint32_t>(std::lround(top + (bottom - top) * wy)) << shift;
      }
      out.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) + static_cast<std::size_t>(x)] = pixel;
    }
  }
  return out;
}

}  // namespace tenji::resources
