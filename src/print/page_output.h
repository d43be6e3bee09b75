// A decoded print in files: the pages as JSON (the virtual embosser's and the
// preview's shape), and one drawing per page with every dot at its true
// place on the paper.
#pragma once

#include <optional>
#include <string>

#include "print/geometry_check.h"
#include "print/stream_decoder.h"
#include "resources/sheet_picture.h"

namespace tenji {

// `first_byte_at`, `last_byte_at`: when the first and the last byte came off
// the line (monotonic clock, seconds); `boundary_certain`: no other client's
// bytes can be among the job's.
std::string job_json(int job_number, std::size_t byte_count, const DecodedJob& job, double first_byte_at = 0.0,
                     double last_byte_at = 0.0, bool boundary_certain = true);
// The same in three parts, for a print too long to hold its dots at once:
// the head, each page in order (numbered from 1), the tail.
std::string job_json_head(int job_number, std::size_t byte_count, double first_byte_at, double last_byte_at,
                          bool boundary_certain);
std::string page_json(const RaisedPage& page, int number_from_1, int dot_size);
std::string job_json_tail(bool any_page, int resets, int carriage_returns, const std::vector<ProtocolError>& errors);

// Drawing coordinates: the paper at (PAGE_MARGIN_MM, PAGE_MARGIN_MM), scales in the margin.
inline constexpr double PAGE_MARGIN_MM = 12.0;
double dot_radius_mm(int size);

// The print area, from the top left corner of the paper (X down, Y across).
struct PrintArea {
  double start_x_mm = 0, start_y_mm = 0, end_x_mm = 0, end_y_mm = 0;
};

// The page at true scale (millimetres), with the paper, scales along its top
// and left edges, and the print area where one is given.
std::string page_svg(const RaisedPage& page, const PaperSize& paper, const std::optional<PrintArea>& area = {});

// The same page for the picture drawn in pixels (the preview, the page PNGs).
resources::SheetDrawing sheet_drawing(const RaisedPage& page, const PaperSize& paper,
                                      const std::optional<PrintArea>& area = {});

// The page as PNG at `px_per_mm`; false when it cannot be written.
bool write_page_png(const std::string& path, const RaisedPage& page, const PaperSize& paper,
                    const std::optional<PrintArea>& area = {}, double px_per_mm = 6.0);

}  // namespace tenji
