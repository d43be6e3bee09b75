#!/usr/bin/env bash
# Builds the bench preset and the tenjiprint of a previous commit (default:
# af4b057, the last one before documents were read as they come), then
# prints a 23,000-page book in each of its four forms with both, in one run:
# time to the first byte on the line and peak memory.
# usage: bench/run-large-book-bench.sh [REF|none] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/previous_build.sh
base="${1:-af4b057}"
runs="${2:-5}"
bash scripts/install-deps.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench --target large_book_bench tenjiprint virtual-embosser
previous=()
if [ "$base" != none ]; then
  build_previous "$base"
  previous=("$previous_tenjiprint")
fi
build/bench/bench/large_book_bench build/bench/src/app/tenjiprint "${previous[@]}" --runs "$runs"
