#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan) and runs each
# for a bounded time over its committed seed corpus. Any crash, leak or
# sanitizer report fails the run. Seconds per target: $1 (default 45).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-45}"
bash scripts/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz --target nrk_reader_fuzz braille_text_fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# target and its seed corpus
for pair in nrk_reader_fuzz:nrk braille_text_fuzz:braille-text; do
  target=${pair%%:*} corpus=${pair#*:}
  mkdir -p "$work/$corpus"
  if TMPDIR="$work" "./build/fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=8192 \
      -rss_limit_mb=2048 -print_final_stats=1 "$work/$corpus" "fuzz/corpus/$corpus" >"$work/log" 2>&1; then
    echo "$target:"
    grep -E '^(Done|stat::)' "$work/log"
  else
    cat "$work/log"
    echo "$target failed" >&2
    exit 1
  fi
done
