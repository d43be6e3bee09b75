#include "page_output.h"

#include <cstdio>

namespace tenji::embosser {

namespace {

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

double dot_radius_mm(int size) {
  switch (size) {
    case 0: return 0.5;
    case 2: return 0.9;
    default: return 0.7;
  }
}

std::string job_json(int job_number, std::size_t byte_count, const DecodedJob& job, double first_byte_at,
                     double last_byte_at, bool boundary_certain) {
  std::string out = "{\n  \"job\": " + std::to_string(job_number) + ",\n  \"bytes\": " +
                    std::to_string(byte_count) + ",\n  \"line_seconds\": " + number(last_byte_at - first_byte_at) +
                    ",\n  \"first_byte_at\": " + number(first_byte_at) + ",\n  \"last_byte_at\": " +
                    number(last_byte_at) + ",\n  \"boundary_certain\": " + (boundary_certain ? "true" : "false") +
                    ",\n  \"resets\": " + std::to_string(job.resets) +
                    ",\n  \"carriage_returns\": " + std::to_string(job.carriage_returns) + ",\n  \"pages\": [";
  for (std::size_t p = 0; p < job.pages.size(); ++p) {
    const Page& page = job.pages[p];
    out += p ? ",\n" : "\n";
    out += "    {\"page\": " + std::to_string(p + 1) + ", \"moves\": " + std::to_string(page.moves) +
           ", \"dot_size\": " + std::to_string(page.dots.empty() ? job.dot_size : page.dots.front().size) +
           ", \"dots\": [";
    for (std::size_t i = 0; i < page.dots.size(); ++i) {
      const Dot& d = page.dots[i];
      out += i ? ",\n      " : "\n      ";
      out += "{\"x\": " + std::to_string(d.x) + ", \"y\": " + std::to_string(d.y) + ", \"x_mm\": " +
             number(static_cast<double>(d.x) * X_STEP_MM) + ", \"y_mm\": " +
             number(static_cast<double>(d.y) * Y_STEP_MM) + ", \"size\": " + std::to_string(d.size) + "}";
    }
    out += page.dots.empty() ? "]}" : "\n    ]}";
  }
  out += job.pages.empty() ? "],\n" : "\n  ],\n";
  out += "  \"protocol_errors\": [";
  for (std::size_t i = 0; i < job.errors.size(); ++i) {
    out += i ? ", " : "";
    out += "{\"offset\": " + std::to_string(job.errors[i].offset) + ", \"byte\": " +
           std::to_string(job.errors[i].byte) + "}";
  }
  out += "]\n}\n";
  return out;
}

std::string page_svg(const Page& page, const Paper& paper) {
  const double w = paper.width_mm + 2 * MARGIN_MM, h = paper.height_mm + 2 * MARGIN_MM;
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(w) + "mm\" height=\"" +
                    number(h) + "mm\" viewBox=\"0 0 " + number(w) + " " + number(h) + "\">\n";
  out += "<rect width=\"100%\" height=\"100%\" fill=\"#e8e8e8\"/>\n";
  out += "<rect x=\"" + number(MARGIN_MM) + "\" y=\"" + number(MARGIN_MM) + "\" width=\"" +
         number(paper.width_mm) + "\" height=\"" + number(paper.height_mm) +
         "\" fill=\"white\" stroke=\"black\" stroke-width=\"0.2\"/>\n";
  // Millimetre scales: across the top (Y) and down the left (X).
  out += "<g stroke=\"black\" stroke-width=\"0.1\">\n";
  for (int mm = 0; mm <= static_cast<int>(paper.width_mm); ++mm) {
    const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.2;
    const double x = MARGIN_MM + mm;
    out += "<line x1=\"" + number(x) + "\" y1=\"" + number(MARGIN_MM - len) + "\" x2=\"" + number(x) +
           "\" y2=\"" + number(MARGIN_MM) + "\"/>\n";
  }
  for (int mm = 0; mm <= static_cast<int>(paper.height_mm); ++mm) {
    const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.2;
    const double y = MARGIN_MM + mm;
    out += "<line x1=\"" + number(MARGIN_MM - len) + "\" y1=\"" + number(y) + "\" x2=\"" + number(MARGIN_MM) +
           "\" y2=\"" + number(y) + "\"/>\n";
  }
  out += "</g>\n<g font-family=\"sans-serif\" font-size=\"2.5\" fill=\"black\">\n";
  for (int mm = 10; mm <= static_cast<int>(paper.width_mm); mm += 10)
    out += "<text x=\"" + number(MARGIN_MM + mm) + "\" y=\"" + number(MARGIN_MM - 5) +
           "\" text-anchor=\"middle\">" + std::to_string(mm) + "</text>\n";
  for (int mm = 10; mm <= static_cast<int>(paper.height_mm); mm += 10)
    out += "<text x=\"" + number(MARGIN_MM - 5) + "\" y=\"" + number(MARGIN_MM + mm + 0.9) +
           "\" text-anchor=\"end\">" + std::to_string(mm) + "</text>\n";
  out += "</g>\n<g fill=\"black\">\n";
  for (const Dot& d : page.dots) {
    out += "<circle cx=\"" + number(MARGIN_MM + static_cast<double>(d.y) * Y_STEP_MM) + "\" cy=\"" +
           number(MARGIN_MM + static_cast<double>(d.x) * X_STEP_MM) + "\" r=\"" + number(dot_radius_mm(d.size)) +
           "\"/>\n";
  }
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace tenji::embosser
