#!/usr/bin/env bash
# Cross-builds the 32-bit and 64-bit Windows programs, runs the 64-bit core
# suite under Wine in a fresh prefix, then prints a document from the Windows
# program under Wine and from the Linux program and compares the streams.
# Needs the Linux build of the default preset for the virtual embosser.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
done
[ -x build/default/tools/virtual-embosser ] || { cmake --preset default && cmake --build --preset default; }

prefix=$(mktemp -d /tmp/tenji-wineprefix.XXXXXX)
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
ctest --preset windows-x64

bash tests/wine/print_under_wine.sh build/default build/windows-x64 samples/full-page.NRK
bash tests/wine/print_under_wine.sh build/default build/windows-x64 samples/three-pages.pef --pages all
