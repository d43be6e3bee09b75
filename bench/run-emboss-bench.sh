#!/usr/bin/env bash
# Builds the bench preset and the tenjiprint of a previous commit (default:
# dabb05d, the last one before the line model), then measures both
# in one run: Ctrl-C, end of job, line use and CPU at 1200 and 9600 bit/s.
set -euo pipefail
cd "$(dirname "$0")/.."
base="${1:-dabb05d}"
cmake --preset bench >/dev/null
cmake --build --preset bench --target emboss_line_bench tenjiprint
previous=()
if [ "$base" != none ]; then
  work=$(mktemp -d /tmp/tenji-previous.XXXXXX)
  trap 'git worktree remove --force "$work" >/dev/null 2>&1 || rm -rf "$work"' EXIT
  git worktree add --detach "$work" "$base" >/dev/null
  cmake -S "$work" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTENJI_BUILD_TESTS=OFF >/dev/null
  cmake --build "$work/build" --target tenjiprint >/dev/null
  previous=("$work/build/src/app/tenjiprint")
fi
build/bench/bench/emboss_line_bench build/bench/src/app/tenjiprint "${previous[@]}"
