#include "print/preview.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <algorithm>

#include "print/emboss_job.h"
#include "print/geometry_check.h"
#include "print/print_walk.h"
#include "print/stream_sender.h"

namespace tenji {

namespace {

// Lines and cells of one copy, without the cells' places.
class Count final : public PrintVisitor {
 public:
  explicit Count(const BrailleDocument& d) : doc_(d) {}
  bool wants_cells() const override { return false; }
  bool begin_line(const LinePlace& l) override {
    ++lines;
    cells += static_cast<std::uint64_t>(l.printed);
    for (const char c : doc_.cells(l.line).substr(0, static_cast<std::size_t>(l.printed)))
      dots += static_cast<std::uint64_t>(std::popcount(static_cast<unsigned>(static_cast<unsigned char>(c) - 0xA0) & 0x3Fu));
    return true;
  }
  std::uint64_t lines = 0, cells = 0, dots = 0;

 private:
  const BrailleDocument& doc_;
};

// The cells of one sheet by line, with their places.
class Places final : public PrintVisitor {
 public:
  Places(const PageSpan& page) : lines(static_cast<std::size_t>(std::max(page.lines, 0))), first_(page.first_line) {}
  bool cell(const CellPlace& c) override {
    lines[static_cast<std::size_t>(c.line - first_)].push_back(c);
    return true;
  }
  std::vector<std::vector<CellPlace>> lines;

 private:
  int first_;
};

// Where a sheet has dots: a grid over the steps its dots span. Decoded
// coordinates are taken modulo 8192 steps, as the embosser reads them.
class RaisedDots {
 public:
  explicit RaisedDots(const RaisedPage& page) {
    if (page.dots.empty()) return;
    x0_ = y0_ = 8191;
    std::int64_t x1 = 0, y1 = 0;
    for (const RaisedDot& d : page.dots) {
      x0_ = std::min(x0_, d.x & 8191), y0_ = std::min(y0_, d.y & 8191);
      x1 = std::max(x1, d.x & 8191), y1 = std::max(y1, d.y & 8191);
    }
    width_ = y1 - y0_ + 1, height_ = x1 - x0_ + 1;
    grid_.assign(static_cast<std::size_t>(width_ * height_), false);
    for (const RaisedDot& d : page.dots) grid_[index((d.x & 8191) - x0_, (d.y & 8191) - y0_)] = true;
  }
  bool at(std::int64_t x, std::int64_t y) const {
    const std::int64_t row = (x & 8191) - x0_, column = (y & 8191) - y0_;
    return row >= 0 && column >= 0 && row < height_ && column < width_ && grid_[index(row, column)];
  }

 private:
  std::size_t index(std::int64_t row, std::int64_t column) const { return static_cast<std::size_t>(row * width_ + column); }
  std::int64_t x0_ = 0, y0_ = 0, width_ = 0, height_ = 0;
  std::vector<bool> grid_;
};

void append_pattern(std::string& out, int pattern) {
  const int cp = 0x2800 + pattern;
  out += static_cast<char>(0xE0 | (cp >> 12));
  out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (cp & 0x3F));
}

// The cell as the embosser strikes it: its columns change places.
int mirrored(int pattern) { return (pattern >> 3 & 7) | (pattern & 7) << 3; }

std::string with_separators(std::uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string summary_text(const PreviewSummary& s) {
  char time[64];
  if (s.seconds >= 60)
    std::snprintf(time, sizeof time, "%d bit/s で約%d分%02d秒", s.baud, static_cast<int>(s.seconds) / 60,
                  static_cast<int>(std::lround(s.seconds)) % 60);
  else
    std::snprintf(time, sizeof time, "%d bit/s で約%.1f秒", s.baud, s.seconds);
  const std::string pages = std::to_string(s.pages) + "ページ（" + std::to_string(s.sheets) + "枚）";
  return (s.copies > 1 ? std::to_string(s.copies) + "部 × " + pages : pages) + "\n" + with_separators(s.lines) +
         "行、" + with_separators(s.cells) + "マス\n" + with_separators(s.dots) + "点\n" + with_separators(s.bytes) +
         "バイト\n" + (s.baud > 0 ? std::string(time) : "通信速度の設定がありません");
}

Preview::Preview(const PrintSettings& settings, const BrailleDocument& document, std::vector<PageSpan> pages,
                 int copies)
    : settings_(settings), document_(document) {
  pages_ = pages_of_walk(settings_, document_, {1, false, std::move(pages)});
  Count count(document_);
  walk_print(settings_, document_, {1, false, pages_}, count);
  const auto n = static_cast<std::uint64_t>(std::max(copies, 0));
  summary_.pages = static_cast<int>(pages_.size());
  summary_.copies = std::max(copies, 0);
  summary_.sheets = summary_.pages * summary_.copies;
  summary_.lines = count.lines * n;
  summary_.cells = count.cells * n;
  summary_.dots = count.dots * n;
  summary_.bytes = planned_stream_bytes(settings_, document_, copies, pages_);
  summary_.baud = baud_for_speed_index(settings_.COM_SPEED);
  if (summary_.baud > 0) summary_.seconds = static_cast<double>(summary_.bytes) * 10.0 / summary_.baud;
}

int Preview::copy_of(int sheet) const { return pages_.empty() ? 0 : (sheet - 1) / static_cast<int>(pages_.size()) + 1; }
int Preview::page_of(int sheet) const { return pages_.empty() ? 0 : (sheet - 1) % static_cast<int>(pages_.size()) + 1; }

std::string Preview::sheet_stream(int n) const {
  if (n < 1 || n > sheet_count()) return {};
  return print_stream(settings_, document_, {1, false, {pages_[static_cast<std::size_t>(page_of(n) - 1)]}});
}

RaisedPage Preview::sheet(int n, PreviewSide side) const {
  DecodedJob job = decode_stream(sheet_stream(n));
  RaisedPage page = job.pages.empty() ? RaisedPage{} : std::move(job.pages.front());
  if (side == PreviewSide::emboss) {
    const auto width = static_cast<std::int64_t>(std::lround(paper_size(settings_.PAPER_SIZE).across_mm / HORIZONTAL_STEP_MM));
    for (RaisedDot& d : page.dots) d.y = width - d.y;
  }
  return page;
}

std::string Preview::braille_text(int n, PreviewSide side) const {
  if (n < 1 || n > sheet_count()) return {};
  const PageSpan& span = pages_[static_cast<std::size_t>(page_of(n) - 1)];
  Places places(span);
  walk_print(settings_, document_, {1, false, {span}}, places);
  const RaisedDots raised(sheet(n));
  auto is_raised = [&raised](std::int64_t x, std::int64_t y) { return raised.at(x, y); };
  const int dx = mm_to_steps(settings_.TEN_HEIGHT, VERTICAL_STEP_MM);
  const int dy = mm_to_steps(settings_.TEN_WIDTH, HORIZONTAL_STEP_MM);
  const int width = std::min(std::max(settings_.CPL, 0), static_cast<int>(BRAILLE_LINE_MAX));
  std::string text;
  for (const auto& line : places.lines) {
    std::vector<int> cells;
    for (const CellPlace& c : line) {
      int pattern = 0;
      const std::int64_t first = std::int64_t{c.x} + settings_.BACK_PITCH;
      for (int dot = 0; dot < 3; ++dot) {
        if (is_raised(first + std::int64_t{dot} * dx, c.y)) pattern |= 1 << dot;
        if (is_raised(first + std::int64_t{dot} * dx, std::int64_t{c.y} + dy)) pattern |= 1 << (dot + 3);
      }
      cells.push_back(pattern);
    }
    if (side == PreviewSide::emboss && !line.empty()) {
      // Read from the back: the line runs the other way, each cell at the
      // place across the page that it has from behind.
      std::vector<int> back(static_cast<std::size_t>(width), 0);
      for (std::size_t j = 0; j < cells.size() && static_cast<int>(j) < width; ++j)
        back[static_cast<std::size_t>(width) - 1 - j] = mirrored(cells[j]);
      cells = std::move(back);
    }
    for (const int pattern : cells) append_pattern(text, pattern);
    text += '\n';
  }
  return text;
}

}  // namespace tenji
