#!/usr/bin/env bash
# The Windows program under Wine prints to the virtual embosser through a
# COM port of Wine's, and the embosser must receive the very bytes that the
# Linux program sends for the same document and settings.
#   usage: print_under_wine.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [DOCUMENT [PRINT OPTIONS...]]
set -euo pipefail
linux_build=$(realpath "$1")
windows_build=$(realpath "$2")
document=$(realpath "${3:-$(dirname "$0")/../../samples/aiueo.NRK}")
options=("${@:4}")

wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
work=$(mktemp -d /tmp/tenji-wine-e2e.XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
embosser_pid=
cleanup() {
  [ -n "$embosser_pid" ] && kill "$embosser_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The same settings for both programs: the default geometry, COM1 at 9600 bit/s.
settings="$work/tenjiprint.ini"
printf '%s\r\n' '[RUK_PRINT]' TEN_HEIGHT=2.22 TEN_WIDTH=2.07 MASU_BETWEEN=3.11 GYO_BETWEEN=6.03 \
  TEN_KIND=1 PAPER_SIZE=1 CPL=32 LPP=22 START_X=0.0 START_Y=0.0 END_X=230.1 END_Y=165.4 \
  COM_PORT=0 COM_SPEED=3 COM_FLOW=1 BACK_PITCH=6 > "$settings"

"$linux_build/tools/virtual-embosser" --com 1 --jobs 2 --out "$work/out" > "$work/embosser.log" 2>&1 &
embosser_pid=$!
for _ in $(seq 200); do grep -q '/dev/pts/' "$work/embosser.log" 2>/dev/null && break; sleep 0.05; done
pts=$(grep -o '/dev/pts/[0-9]*' "$work/embosser.log" | head -n 1)
[ -n "$pts" ] || { echo "the virtual embosser did not start"; cat "$work/embosser.log"; exit 1; }

echo "== Linux print (job 1)"
"$linux_build/src/app/tenjiprint" --settings "$settings" print "$document" "${options[@]}" 2>/dev/null

echo "== Windows print under Wine (job 2), COM1 = $pts"
"$wine64" wineboot -i >/dev/null 2>&1 || true
"$wine64" reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$pts" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true  # Wine reads its ports when it starts
"$wine64" "$windows_build/src/app/tenjiprint.com" --settings "Z:${settings//\//\\}" print "Z:${document//\//\\}" "${options[@]}" 2>/dev/null

for _ in $(seq 600); do kill -0 "$embosser_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$embosser_pid" 2>/dev/null; then echo "the embosser did not see two jobs"; cat "$work/embosser.log"; exit 1; fi
embosser_pid=
cat "$work/embosser.log"

size=$(stat -c %s "$work/out/job-1.bin")
if [ "$size" -gt 0 ] && cmp "$work/out/job-1.bin" "$work/out/job-2.bin"; then
  echo "identical streams: $size bytes"
else
  echo "the Windows stream differs from the Linux one"
  exit 1
fi
