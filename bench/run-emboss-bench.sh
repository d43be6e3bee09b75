#!/usr/bin/env bash
# Builds the bench preset and the tenjiprint of a previous commit (default:
# dabb05d, the last one before the line model), then measures both
# in one run: Ctrl-C, end of job, line use and CPU at 1200 and 9600 bit/s.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/previous_build.sh
base="${1:-dabb05d}"
cmake --preset bench >/dev/null
cmake --build --preset bench --target emboss_line_bench tenjiprint
previous=()
if [ "$base" != none ]; then
  build_previous "$base"
  previous=("$previous_tenjiprint")
fi
build/bench/bench/emboss_line_bench build/bench/src/app/tenjiprint "${previous[@]}"
