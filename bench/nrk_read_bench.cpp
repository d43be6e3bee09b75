// Reading documents of 1,000 to 50,000 lines of 32 cells: the time per line
// should stay flat, so 50,000 lines take about five times as long as 10,000.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/braille_file_reader.h"
#include "document/nrk_writer.h"

namespace {

std::string document_file(int lines) {
  const auto path = (std::filesystem::temp_directory_path() /
                     ("tenji-bench-" + std::to_string(lines) + ".NRK")).string();
  std::vector<std::string> text;
  for (int i = 0; i < lines; ++i) {
    std::string line;
    for (int j = 0; j < 32; ++j) line += static_cast<char>(0xA0 + (i * 7 + j * 13) % 64);
    text.push_back(line);
  }
  std::ofstream(path, std::ios::binary) << tenji::encode_nrk(text);
  return path;
}

void BM_ReadDocument(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const std::string path = document_file(lines);
  for (auto _ : state) {
    tenji::BrailleDocument doc;
    tenji::BrailleFileReader reader(path.c_str());
    if (reader.read(&doc) != 0 || doc.line_count() != lines) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(doc.line_count());
  }
  state.counters["per_line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  std::remove(path.c_str());
}

BENCHMARK(BM_ReadDocument)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
