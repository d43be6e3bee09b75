#!/usr/bin/env bash
# The virtual embosser's job boundary on a busy machine: while two processes
# keep both cores busy, JOBS prints (default 200) go back to back through the
# program itself, two documents taking turns; every capture must be its own
# document's stream, whole, with a certain boundary. Then the suite's tests
# that run against the clock run once under the same load.
# usage: jobs_under_load.sh [BUILD_DIR] [JOBS]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
jobs=${2:-200}
source "$(dirname "$0")/../support/line_settings.sh"
source "$(dirname "$0")/../support/fail_reason.sh"
work=$(mktemp -d /tmp/tenji-load.XXXXXX)
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

load() {
  if command -v stress-ng >/dev/null; then
    stress-ng --cpu 2 --timeout 3600s >/dev/null 2>&1 &
    pids+=($!)
  else
    for _ in 1 2; do (while :; do :; done) & pids+=($!); done
  fi
}

settings="$work/tenjiprint.ini"
write_line_settings "$settings"
printf '⠁⠃\n⠉\n' >"$work/a.txt"
printf '⠿⠿⠿\n' >"$work/b.txt"

# The two documents' streams, on a quiet machine.
"$build/tools/virtual-embosser" --com 1 --jobs 2 --out "$work/reference" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
for d in a b; do "$build/src/app/tenjiprint" --settings "$settings" print "$work/$d.txt" >/dev/null 2>&1; done
wait "${pids[-1]}"

load
"$build/tools/virtual-embosser" --com 1 --jobs "$jobs" --baud 9600 --out "$work/out" >"$work/embosser.log" 2>&1 &
embosser=$!
pids+=($embosser)
for _ in $(seq 100); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
start=$(date +%s)
for i in $(seq "$jobs"); do
  d=$([ $((i % 2)) -eq 1 ] && echo a || echo b)
  "$build/src/app/tenjiprint" --settings "$settings" print "$work/$d.txt" >/dev/null 2>"$work/print.log" ||
    { echo "FAIL: print $i exited $?: $(cat "$work/print.log")" >&2; exit 1; }
done
for _ in $(seq 600); do kill -0 "$embosser" 2>/dev/null || break; sleep 0.1; done
kill -0 "$embosser" 2>/dev/null && { echo "FAIL: the embosser did not get $jobs jobs: $(tail -3 "$work/embosser.log")" >&2; exit 1; }

merged=0 uncertain=0
for i in $(seq "$jobs"); do
  ref="$work/reference/job-$([ $((i % 2)) -eq 1 ] && echo 1 || echo 2).bin"
  cmp -s "$ref" "$work/out/job-$i.bin" || { merged=$((merged + 1)); echo "job $i differs from its document" >&2; }
  grep -q '"boundary_certain": true' "$work/out/job-$i.json" || uncertain=$((uncertain + 1))
done
echo "$jobs jobs back to back under load in $(($(date +%s) - start)) s: $merged not their document's stream, $uncertain with an uncertain boundary"
[ "$merged" -eq 0 ] && [ "$uncertain" -eq 0 ]

echo "== the tests that run against the clock, under the same load"
ctest --test-dir "$build" --output-on-failure -R 'VirtualEmbosser|Program\.|EndToEnd|DesktopPrint|Job|Interrupt'
