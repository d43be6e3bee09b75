#!/usr/bin/env bash
# Every window of the Windows program drawn under Wine at 144 and 192 DPI
# (150 % and 200 %), for a person to look at: the pictures grow with the
# dialogs and the labels stay whole.
# usage: screenshots_at_dpi.sh WINDOWS_BUILD_DIR OUT_DIR
set -euo pipefail
windows_build=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d /tmp/tenji-wine-dpi.XXXXXX)
source "$(dirname "$0")/lib.sh"
trap 'stop_wine; rm -rf "$work"' EXIT
make_prefix
for dpi in 144 192; do
  import_registry <<REG
[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")
REG
  stop_wine  # the DPI is read at start
  rm -rf "$out/dpi-$dpi"
  LANG=ja_JP.UTF-8 "$wine64" "$windows_build/src/app/tenjiprint.com" --screenshots "$(windows_path "$out/dpi-$dpi")" \
    >"$work/shots.log" 2>&1 || { cat "$work/shots.log"; exit 1; }
  stop_wine
  [ "$(ls "$out/dpi-$dpi"/*.png | wc -l)" -eq 11 ] || { echo "not every window was drawn at $dpi DPI"; exit 1; }
done
echo "windows drawn at 144 and 192 DPI in $out"
