#include "app/preview_output.h"

#include <filesystem>
#include <future>
#include <fstream>

#include "app/command_line.h"
#include "platform/console_text.h"
#include "platform/file_path.h"
#include "print/geometry_check.h"
#include "print/page_output.h"
#include "resources/png_file.h"
#include "resources/sheet_picture.h"

namespace tenji {

namespace {

// "1/3ページ", or "2部 1/3ページ" when there are copies.
std::string sheet_heading(const Preview& p, int n) {
  const std::string page = std::to_string(p.page_of(n)) + "/" + std::to_string(p.summary().pages) + "ページ";
  return p.summary().copies > 1 ? std::to_string(p.copy_of(n)) + "部 " + page : page;
}

PrintArea print_area(const PrintSettings& s) { return {s.START_X, s.START_Y, s.END_X, s.END_Y}; }

bool write_text(const std::filesystem::path& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
  f.close();
  return !f.fail();
}

// What one sheet puts in the files.
struct SheetFiles {
  DecodedJob decoded;  // its own stream, for the counts
  RaisedPage page;
  std::string svg, png;
};

SheetFiles sheet_files(const Preview& preview, int n, const PaperSize& paper, const PrintArea& area, PreviewSide side) {
  SheetFiles f;
  f.decoded = decode_stream(preview.sheet_stream(n));
  f.page = preview.sheet(n, side);
  f.svg = page_svg(f.page, paper, area);
  // About 100 dots an inch: enough to look at, and quick for a long book.
  f.png = resources::png_bytes(resources::sheet_picture(sheet_drawing(f.page, paper, area), 4.0));
  return f;
}

int write_files(const Preview& preview, const PrintSettings& settings, const PreviewOptions& o, std::FILE* out,
                std::FILE* err) {
  namespace fs = std::filesystem;
  const fs::path dir = platform::fs_path(o.out_dir);
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::ofstream json(dir / "preview.json", std::ios::binary);
  json << job_json_head(1, static_cast<std::size_t>(preview.summary().bytes), 0, 0, true);
  const PaperSize paper = paper_size(settings.PAPER_SIZE);
  const PrintArea area = print_area(settings);
  int resets = 1, carriage_returns = 1;
  int dot_size = 1;  // the embosser's own until the print selects one; a blank sheet keeps the last
  std::vector<ProtocolError> errors;
  bool written = !json.fail();
  // Sheets are made two at a time, one a processor, and written in order.
  for (int first = 1; first <= preview.sheet_count() && written; first += 2) {
    auto second = std::async(std::launch::async, [&] {
      return first + 1 <= preview.sheet_count() ? sheet_files(preview, first + 1, paper, area, o.side) : SheetFiles{};
    });
    SheetFiles made[2] = {sheet_files(preview, first, paper, area, o.side), second.get()};
    for (int k = 0; k < 2 && first + k <= preview.sheet_count() && written; ++k) {
      const SheetFiles& f = made[k];
      const int n = first + k;
      // A sheet's own stream has the print's first reset and last CR besides its own.
      resets += f.decoded.resets - 1;
      carriage_returns += f.decoded.carriage_returns - 1;
      errors.insert(errors.end(), f.decoded.errors.begin(), f.decoded.errors.end());
      if (!f.page.dots.empty()) dot_size = f.page.dots.front().size;
      json << page_json(f.page, n, dot_size);
      const std::string base = "sheet-" + std::to_string(n);
      written = write_text(dir / (base + ".svg"), f.svg) && write_text(dir / (base + ".png"), f.png) && !json.fail();
    }
  }
  json << job_json_tail(preview.sheet_count() > 0, resets, carriage_returns, errors);
  json.close();
  if (!written || json.fail()) {
    platform::print_text(err, "プレビューを書き込めませんでした。\n%s\n", o.out_dir.c_str());
    return EXIT_JOB_FAILED;
  }
  platform::print_text(out, "%s\n%s に sheet-1〜%d.svg/.png と preview.json を書きました。\n",
               summary_text(preview.summary()).c_str(), o.out_dir.c_str(), preview.sheet_count());
  return EXIT_DONE;
}

}  // namespace

int write_preview(const Preview& preview, const PrintSettings& settings, const std::string& document_path,
                  const PreviewOptions& o, std::FILE* out, std::FILE* err) {
  if (!o.out_dir.empty()) return write_files(preview, settings, o, out, err);
  platform::print_text(out, "%s\n%s\n", document_path.c_str(), summary_text(preview.summary()).c_str());
  for (int n = 1; n <= preview.sheet_count(); ++n)
    platform::print_text(out, "\n―― %s ――\n%s", sheet_heading(preview, n).c_str(), preview.braille_text(n, o.side).c_str());
  return std::ferror(out) ? EXIT_JOB_FAILED : EXIT_DONE;
}

}  // namespace tenji
