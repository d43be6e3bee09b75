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

echo "== Windows print under Wine (job 2) in a cmd console, COM1 = $pts"
make_prefix "$pts"
program=$(windows_path "$windows_build/src/app/tenjiprint.com")
# cmd's console on a terminal, recorded as the user sees it. Wine's server
# starts outside it: it would write its state to the terminal at the end.
wineserver -p5 >/dev/null 2>&1
LANG=C.UTF-8 script -qec "'$wine64' cmd /c '$program --settings $(windows_path "$settings") \
  print $(windows_path "$document") ${options[*]}'" "$work/console.txt" >/dev/null
wait_embosser_jobs
cat "$work/embosser.log"

# Japanese as Japanese on the console (UTF-8 bytes read one by one as the
# console's code page show as "ã..."), and UTF-8 in a file.
seen=$(sed 's/\x1b\[[?0-9;]*[A-Za-z]//g' "$work/console.txt")
if ! grep -q '1/1部 .*行  100%  残り約0秒' <<<"$seen" || grep -q 'ã' <<<"$seen"; then
  echo "the console did not show the Japanese progress line:"
  cat -v "$work/console.txt"
  exit 1
fi
"$wine64" cmd /c "$program --copies x print a 2> $(windows_path "$work/err.txt")" || true
if [ "$(cat "$work/err.txt")" != $'tenjiprint: --copies には 0〜999 の整数を指定します\r' ]; then
  echo "standard error in a file is not UTF-8 with CR LF:"
  od -c "$work/err.txt" | head
  exit 1
fi
echo "the console shows the Japanese; a file gets UTF-8"

size=$(stat -c %s "$work/out/job-1.bin")
if [ "$size" -gt 0 ] && cmp "$work/out/job-1.bin" "$work/out/job-2.bin"; then
  echo "identical streams: $size bytes"
else
  echo "the Windows stream differs from the Linux one"
  exit 1
fi
