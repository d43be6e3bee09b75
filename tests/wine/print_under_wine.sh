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

work=$(mktemp -d /tmp/tenji-wine-e2e.XXXXXX)
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
embosser_pid=
cleanup() {
  [ -n "$embosser_pid" ] && kill "$embosser_pid" 2>/dev/null || true
  stop_wine
  rm -rf "$work"
}
trap cleanup EXIT

# The same settings for both programs.
settings="$work/tenjiprint.ini"
write_line_settings "$settings"
start_pty_embosser "$linux_build" 2

echo "== Linux print (job 1)"
"$linux_build/src/app/tenjiprint" --settings "$settings" print "$document" "${options[@]}" 2>/dev/null

echo "== Windows print under Wine (job 2), COM1 = $pts"
make_prefix "$pts"
"$wine64" "$windows_build/src/app/tenjiprint.com" --settings "$(windows_path "$settings")" \
  print "$(windows_path "$document")" "${options[@]}" 2>/dev/null
wait_embosser_jobs
cat "$work/embosser.log"

size=$(stat -c %s "$work/out/job-1.bin")
if [ "$size" -gt 0 ] && cmp "$work/out/job-1.bin" "$work/out/job-2.bin"; then
  echo "identical streams: $size bytes"
else
  echo "the Windows stream differs from the Linux one"
  exit 1
fi
