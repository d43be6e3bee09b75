// A sheet as a picture: the paper, millimetre scales along its top and left
// edges, the print area, and every dot as a disc at its true place. Drawn
// by our own code, so that the preview window on every window system, the
// preview's page files and the virtual embosser show one and the same.
#pragma once

#include <optional>
#include <vector>

#include "resources/pixels.h"

namespace tenji::resources {

// Room around the paper for the scales.
inline constexpr double SHEET_MARGIN_MM = 12.0;

struct SheetDrawing {
  double paper_down_mm = 257.0, paper_across_mm = 182.0;
  struct Dot {
    double down_mm, across_mm, radius_mm;  // from the paper's top left corner
  };
  std::vector<Dot> dots;
  struct Area {
    double start_down_mm, start_across_mm, end_down_mm, end_across_mm;
  };
  std::optional<Area> print_area;
};

// At `px_per_mm` pixels a millimetre, margins included.
GreyPixels sheet_picture(const SheetDrawing& sheet, double px_per_mm);

// The grey picture in the colours a window shows.
Pixels to_argb(const GreyPixels& grey);

}  // namespace tenji::resources
