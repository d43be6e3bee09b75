#!/usr/bin/env bash
# The main job end to end without hardware: installs what is needed, builds,
# starts the virtual embosser as COM1, embosses a sample document with
# `tenjiprint print` (options after the sample go to it, e.g. --pages 2-3),
# and says where the page pictures are.
set -euo pipefail
cd "$(dirname "$0")/.."
sample="${1:-samples/aiueo.NRK}"
print_options=("${@:2}")
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tenjiprint virtual-embosser make-nrk

demo=$(mktemp -d /tmp/tenjiprint-demo.XXXXXX)
export XDG_CONFIG_HOME="$demo/config"   # the COM1 link lives here
export QT_QPA_PLATFORM=offscreen
out="$demo/pages"

./build/default/tools/virtual-embosser --com 1 --jobs 1 --baud 9600 --out "$out" &
embosser=$!
trap 'kill $embosser 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done

# A settings file of its own: the default geometry, COM1 at 9600 bit/s.
settings="$demo/tenjiprint.ini"
source tests/support/line_settings.sh
write_line_settings "$settings"

./build/default/src/app/tenjiprint --settings "$settings" print "$sample" "${print_options[@]}"
wait $embosser
trap - EXIT
echo
echo "The embosser's pages are in $out:"
ls -1 "$out"

# On a desktop, the program itself comes up connected to the same virtual
# embosser as COM1: 印刷 prints, the pages land in the same folder.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  unset QT_QPA_PLATFORM
  ./build/default/tools/virtual-embosser --com 1 --baud 9600 --out "$out" &
  embosser=$!
  trap 'kill $embosser 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
  echo "Starting the desktop program; print a sample from samples/, the pages go to $out."
  ./build/default/src/app/tenjiprint
  kill $embosser 2>/dev/null || true
  trap - EXIT
  ls -1 "$out"
fi
