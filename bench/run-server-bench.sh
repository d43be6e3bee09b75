#!/usr/bin/env bash
# The printer application beside the command line it shares the embossing
# job with: idle memory, request to first byte for a one-page document
# (median of 5), CPU while a full page prints at 9600 bit/s.
#   usage: run-server-bench.sh   (from the source folder)
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/support/line_settings.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target tenjiprint-server tenjiprint virtual-embosser
work=$(mktemp -d /tmp/tenji-server-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
write_line_settings "$work/tenjiprint.ini"
python3 bench/server_bench.py build/bench "$work" samples
