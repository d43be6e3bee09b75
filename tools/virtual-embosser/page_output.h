// What the virtual embosser writes for a job: the decoded pages as JSON, and
// one picture per page with every dot at its true place on the paper.
#pragma once

#include <string>

#include "stream_decoder.h"

namespace tenji::embosser {

inline constexpr double X_STEP_MM = 0.3175;  // down the page
inline constexpr double Y_STEP_MM = 0.3454;  // across the page

struct Paper {
  double width_mm = 182.0;   // across (Y): B5
  double height_mm = 257.0;  // down (X)
};

// `first_byte_at`, `last_byte_at`: when the first and the last byte came off
// the line (monotonic clock, seconds); `boundary_certain`: no other client's
// bytes can be among the job's.
std::string job_json(int job_number, std::size_t byte_count, const DecodedJob& job, double first_byte_at = 0.0,
                     double last_byte_at = 0.0, bool boundary_certain = true);

// Drawing coordinates: the paper at (MARGIN_MM, MARGIN_MM), scales in the margin.
inline constexpr double MARGIN_MM = 12.0;
double dot_radius_mm(int size);

std::string page_svg(const Page& page, const Paper& paper);

// PNG through Qt's raster painter; false when it cannot be written.
bool write_page_png(const Page& page, const Paper& paper, const std::string& path);

}  // namespace tenji::embosser
