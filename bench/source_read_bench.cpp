// Reading a 1,000-page book (22 lines of 32 cells a page) from disk as PEF,
// BRF and Unicode Braille text, beside the same lines as NRK.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "document/braille_source.h"
#include "document/braille_writers.h"
#include "document/nrk_writer.h"

namespace {

constexpr int PAGES = 1000, LINES_PER_PAGE = 22, CELLS = 32;

tenji::TextDocument book() {
  tenji::TextDocument doc;
  for (int i = 0; i < PAGES * LINES_PER_PAGE; ++i) {
    if (i > 0 && i % LINES_PER_PAGE == 0) doc.page_breaks.push_back(i);
    std::string line;
    for (int j = 0; j < CELLS; ++j) line += static_cast<char>(0xA0 + (i * 7 + j * 13) % 64);
    doc.lines.push_back(line);
  }
  return doc;
}

std::string written(const std::string& name, const std::string& bytes) {
  const auto path = (std::filesystem::temp_directory_path() / ("tenji-bench-book." + name)).string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

void read_file(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    tenji::BrailleDocument doc;
    const tenji::SourceRead r = tenji::read_braille_source(path, doc);
    if (!r.ok || doc.line_count() != PAGES * LINES_PER_PAGE) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(doc.line_count());
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::remove(path.c_str());
}

void BM_Read1000PagePef(benchmark::State& state) { read_file(state, written("pef", tenji::encode_pef(book(), CELLS, LINES_PER_PAGE))); }
void BM_Read1000PageBrf(benchmark::State& state) { read_file(state, written("brf", tenji::encode_brf(book()))); }
void BM_Read1000PageText(benchmark::State& state) { read_file(state, written("txt", tenji::encode_braille_text(book()))); }
void BM_Read1000PageNrk(benchmark::State& state) { read_file(state, written("nrk", tenji::encode_nrk(book().lines))); }

BENCHMARK(BM_Read1000PagePef)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read1000PageBrf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read1000PageText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read1000PageNrk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
