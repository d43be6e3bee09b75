#!/usr/bin/env bash
# Cross-builds the 32-bit and 64-bit Windows programs and their installers,
# then, under Wine, runs the 64-bit suite (the window tests on Xvfb), prints
# a document from the console program and compares the stream with the
# Linux program's, drives the desktop program with the keyboard, and
# installs, uses and uninstalls the 64-bit installer. Pictures of every
# window land in build/windows-x64/screenshots (also at 144 and 192 DPI).
# Needs the Linux build of the default preset for the virtual embosser.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
version=$(sed -n 's/^project(tenjiprint VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  rm -f build/"$preset"/tenjiprint-*-win*.exe build/"$preset"/tenjiprint-*-win*.zip
  (cd "build/$preset" && cpack -G "NSIS;ZIP" >/dev/null)
done
ls -l build/windows-x86/tenjiprint-"$version"-win32.* build/windows-x64/tenjiprint-"$version"-win64.*
[ -x build/default/tools/virtual-embosser ] || { cmake --preset default && cmake --build --preset default; }

prefix=$(mktemp -d /tmp/tenji-wineprefix.XXXXXX)
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all
# The prefix starts its desktop on the display the window tests use.
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  '"$0" wineboot -i >/dev/null 2>&1; ctest --preset windows-x64; status=$?; wineserver -k; exit $status' "$wine64"

bash tests/wine/print_under_wine.sh build/default build/windows-x64 samples/full-page.NRK
bash tests/wine/print_under_wine.sh build/default build/windows-x64 samples/three-pages.pef --pages all
bash tests/wine/ports_under_wine.sh build/windows-x64
rm -rf build/windows-x64/screenshots
bash tests/wine/desktop_under_wine.sh build/default build/windows-x64 build/windows-x64/screenshots
xvfb-run -a -s "-screen 0 1600x1200x24" bash tests/wine/screenshots_at_dpi.sh build/windows-x64 build/windows-x64/screenshots
bash tests/wine/installer_under_wine.sh build/default build/windows-x64/tenjiprint-"$version"-win64.exe
