#!/usr/bin/env bash
# The desktop program on a real X server (Xvfb with openbox): keyboard-only
# flows driven with xdotool, the windows drawn at 150 % and 200 %, and the
# accessibility tree read over AT-SPI.
# Builds the default preset first if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tenjiprint virtual-embosser make-nrk
echo "== keyboard only"
bash tests/desktop/x11/keyboard_flows.sh build/default
echo "== keyboard only: an adapter bound to ｃｏｍ３ and printed through"
bash tests/desktop/x11/port_binding.sh build/default
echo "== every window at 150 % and 200 %, in build/default/screenshots"
for factor in 1.5 2; do
  rm -rf "build/default/screenshots/scale-$factor"
  QT_SCALE_FACTOR=$factor QT_QPA_PLATFORM=offscreen build/default/src/app/tenjiprint \
    --screenshots "build/default/screenshots/scale-$factor" >/dev/null
done
echo "== screen reader"
bash tests/desktop/x11/accessibility.sh build/default
