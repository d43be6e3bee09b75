#include "print/page_output.h"

#include <cmath>
#include <cstdio>

#include "resources/png_file.h"

namespace tenji {

namespace {

// A millimetre value with at most four decimals and no trailing zeros:
// "1.905", "12", "-0.5". Fixed point, since a page has thousands of them.
std::string number(double v) {
  long long n = std::llround(v * 10000.0);
  std::string out;
  if (n < 0) {
    out += '-';
    n = -n;
  }
  out += std::to_string(n / 10000);
  int fraction = static_cast<int>(n % 10000);
  if (fraction == 0) return out;
  char digits[5] = {static_cast<char>('0' + fraction / 1000), static_cast<char>('0' + fraction / 100 % 10),
                    static_cast<char>('0' + fraction / 10 % 10), static_cast<char>('0' + fraction % 10), 0};
  int last = 3;
  while (digits[last] == '0') digits[last--] = 0;
  return out + "." + digits;
}

}  // namespace

double dot_radius_mm(int size) {
  switch (size) {
    case 0: return 0.5;
    case 2: return 0.9;
    default: return 0.7;
  }
}

std::string job_json_head(int job_number, std::size_t byte_count, double first_byte_at, double last_byte_at,
                          bool boundary_certain) {
  return "{\n  \"job\": " + std::to_string(job_number) + ",\n  \"bytes\": " + std::to_string(byte_count) +
         ",\n  \"line_seconds\": " + number(last_byte_at - first_byte_at) + ",\n  \"first_byte_at\": " +
         number(first_byte_at) + ",\n  \"last_byte_at\": " + number(last_byte_at) +
         ",\n  \"boundary_certain\": " + (boundary_certain ? "true" : "false") + ",\n  \"pages\": [";
}

std::string page_json(const RaisedPage& page, int number_from_1, int dot_size) {
  std::string out = number_from_1 > 1 ? ",\n" : "\n";
  out += "    {\"page\": " + std::to_string(number_from_1) + ", \"moves\": " + std::to_string(page.moves) +
         ", \"dot_size\": " + std::to_string(page.dots.empty() ? dot_size : page.dots.front().size) + ", \"dots\": [";
  for (std::size_t i = 0; i < page.dots.size(); ++i) {
    const RaisedDot& d = page.dots[i];
    out += i ? ",\n      " : "\n      ";
    out += "{\"x\": " + std::to_string(d.x) + ", \"y\": " + std::to_string(d.y) + ", \"x_mm\": " +
           number(static_cast<double>(d.x) * VERTICAL_STEP_MM) + ", \"y_mm\": " +
           number(static_cast<double>(d.y) * HORIZONTAL_STEP_MM) + ", \"size\": " + std::to_string(d.size) + "}";
  }
  out += page.dots.empty() ? "]}" : "\n    ]}";
  return out;
}

std::string job_json_tail(bool any_page, int resets, int carriage_returns, const std::vector<ProtocolError>& errors) {
  std::string out = any_page ? "\n  ],\n" : "],\n";
  out += "  \"resets\": " + std::to_string(resets) + ",\n  \"carriage_returns\": " + std::to_string(carriage_returns) +
         ",\n  \"protocol_errors\": [";
  for (std::size_t i = 0; i < errors.size(); ++i) {
    out += i ? ", " : "";
    out += "{\"offset\": " + std::to_string(errors[i].offset) + ", \"byte\": " + std::to_string(errors[i].byte) + "}";
  }
  out += "]\n}\n";
  return out;
}

std::string job_json(int job_number, std::size_t byte_count, const DecodedJob& job, double first_byte_at,
                     double last_byte_at, bool boundary_certain) {
  std::string out = job_json_head(job_number, byte_count, first_byte_at, last_byte_at, boundary_certain);
  for (std::size_t p = 0; p < job.pages.size(); ++p) out += page_json(job.pages[p], static_cast<int>(p) + 1, job.dot_size);
  return out + job_json_tail(!job.pages.empty(), job.resets, job.carriage_returns, job.errors);
}

std::string page_svg(const RaisedPage& page, const PaperSize& paper, const std::optional<PrintArea>& area) {
  const double w = paper.across_mm + 2 * PAGE_MARGIN_MM, h = paper.down_mm + 2 * PAGE_MARGIN_MM;
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(w) + "mm\" height=\"" +
                    number(h) + "mm\" viewBox=\"0 0 " + number(w) + " " + number(h) + "\">\n";
  out += "<rect width=\"100%\" height=\"100%\" fill=\"#e8e8e8\"/>\n";
  out += "<rect x=\"" + number(PAGE_MARGIN_MM) + "\" y=\"" + number(PAGE_MARGIN_MM) + "\" width=\"" +
         number(paper.across_mm) + "\" height=\"" + number(paper.down_mm) +
         "\" fill=\"white\" stroke=\"black\" stroke-width=\"0.2\"/>\n";
  // Millimetre scales: across the top (Y) and down the left (X).
  out += "<g stroke=\"black\" stroke-width=\"0.1\">\n";
  for (int mm = 0; mm <= static_cast<int>(paper.across_mm); ++mm) {
    const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.2;
    const double x = PAGE_MARGIN_MM + mm;
    out += "<line x1=\"" + number(x) + "\" y1=\"" + number(PAGE_MARGIN_MM - len) + "\" x2=\"" + number(x) +
           "\" y2=\"" + number(PAGE_MARGIN_MM) + "\"/>\n";
  }
  for (int mm = 0; mm <= static_cast<int>(paper.down_mm); ++mm) {
    const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.2;
    const double y = PAGE_MARGIN_MM + mm;
    out += "<line x1=\"" + number(PAGE_MARGIN_MM - len) + "\" y1=\"" + number(y) + "\" x2=\"" + number(PAGE_MARGIN_MM) +
           "\" y2=\"" + number(y) + "\"/>\n";
  }
  out += "</g>\n<g font-family=\"sans-serif\" font-size=\"2.5\" fill=\"black\">\n";
  for (int mm = 10; mm <= static_cast<int>(paper.across_mm); mm += 10)
    out += "<text x=\"" + number(PAGE_MARGIN_MM + mm) + "\" y=\"" + number(PAGE_MARGIN_MM - 5) +
           "\" text-anchor=\"middle\">" + std::to_string(mm) + "</text>\n";
  for (int mm = 10; mm <= static_cast<int>(paper.down_mm); mm += 10)
    out += "<text x=\"" + number(PAGE_MARGIN_MM - 5) + "\" y=\"" + number(PAGE_MARGIN_MM + mm + 0.9) +
           "\" text-anchor=\"end\">" + std::to_string(mm) + "</text>\n";
  out += "</g>\n";
  if (area)
    out += "<rect x=\"" + number(PAGE_MARGIN_MM + area->start_y_mm) + "\" y=\"" + number(PAGE_MARGIN_MM + area->start_x_mm) +
           "\" width=\"" + number(area->end_y_mm - area->start_y_mm) + "\" height=\"" +
           number(area->end_x_mm - area->start_x_mm) +
           "\" fill=\"none\" stroke=\"#6080c0\" stroke-width=\"0.2\" stroke-dasharray=\"1 1\"/>\n";
  out += "<g fill=\"black\">\n";
  for (const RaisedDot& d : page.dots) {
    out += "<circle cx=\"" + number(PAGE_MARGIN_MM + static_cast<double>(d.y) * HORIZONTAL_STEP_MM) + "\" cy=\"" +
           number(PAGE_MARGIN_MM + static_cast<double>(d.x) * VERTICAL_STEP_MM) + "\" r=\"" + number(dot_radius_mm(d.size)) +
           "\"/>\n";
  }
  out += "</g>\n</svg>\n";
  return out;
}

resources::SheetDrawing sheet_drawing(const RaisedPage& page, const PaperSize& paper,
                                      const std::optional<PrintArea>& area) {
  resources::SheetDrawing sheet;
  sheet.paper_down_mm = paper.down_mm;
  sheet.paper_across_mm = paper.across_mm;
  sheet.dots.reserve(page.dots.size());
  for (const RaisedDot& d : page.dots)
    sheet.dots.push_back({static_cast<double>(d.x) * VERTICAL_STEP_MM, static_cast<double>(d.y) * HORIZONTAL_STEP_MM,
                          dot_radius_mm(d.size)});
  if (area) sheet.print_area = resources::SheetDrawing::Area{area->start_x_mm, area->start_y_mm, area->end_x_mm, area->end_y_mm};
  return sheet;
}

bool write_page_png(const std::string& path, const RaisedPage& page, const PaperSize& paper,
                    const std::optional<PrintArea>& area, double px_per_mm) {
  return resources::write_png(path, resources::sheet_picture(sheet_drawing(page, paper, area), px_per_mm));
}

}  // namespace tenji
