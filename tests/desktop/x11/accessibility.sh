#!/usr/bin/env bash
# The desktop program's accessibility tree, as a screen reader reads it:
# Xvfb with openbox, a session bus with the accessibility bus, Qt's
# accessibility on, and the tree walked with pyatspi.
# (Debian's python3, which has pyatspi.)
# usage: accessibility.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
BUILD_DIR=${1:-build/default}
source "$(dirname "$0")/lib.sh"

start_display
start_embosser 1
for i in $(seq 50); do echo "⠁⠃"; done >"$work/long.txt"
"$build/tools/make-nrk" "$work/long.txt" "$work/long.NRK" >/dev/null
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/accessibility_check.py" \
  "$build/src/app/tenjiprint" "$settings" "$(realpath samples/aiueo.NRK)" "$work/long.NRK" \
  "$(realpath samples/three-pages.brf)"
