#!/usr/bin/env bash
# Builds the bench preset and the tenjiprint of a previous commit (default:
# af4b057, the last one before documents were read as they come), then
# prints a 23,000-page book in each of its four forms with both, in one run:
# time to the first byte on the line and peak memory.
# usage: bench/run-large-book-bench.sh [REF|none] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
base="${1:-af4b057}"
runs="${2:-5}"
bash scripts/install-deps.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench --target large_book_bench tenjiprint virtual-embosser
previous=()
if [ "$base" != none ]; then
  # That build read PEF with pugixml.
  dpkg-query -W -f='${Status}' libpugixml-dev 2>/dev/null | grep -q 'install ok installed' ||
    apt-get install -y -q --no-install-recommends libpugixml-dev >/dev/null
  work=$(mktemp -d /tmp/tenji-previous.XXXXXX)
  trap 'git worktree remove --force "$work" >/dev/null 2>&1 || rm -rf "$work"' EXIT
  git worktree add --detach "$work" "$base" >/dev/null
  cmake -S "$work" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTENJI_BUILD_TESTS=OFF >/dev/null
  cmake --build "$work/build" --target tenjiprint >/dev/null
  previous=("$work/build/src/app/tenjiprint")
fi
build/bench/bench/large_book_bench build/bench/src/app/tenjiprint "${previous[@]}" --runs "$runs"
