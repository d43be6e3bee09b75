#!/usr/bin/env bash
# The COM ports Wine maps are the ones the Windows program lists, with their
# numbers, and one above COM9 opens (through "\\.\COM12").
#   usage: ports_under_wine.sh WINDOWS_BUILD_DIR
set -euo pipefail
windows_build=$(realpath "$1")
work=$(mktemp -d /tmp/tenji-wine-ports.XXXXXX)
source "$(dirname "$0")/lib.sh"
holder_pid=
cleanup() {
  [ -n "$holder_pid" ] && kill "$holder_pid" 2>/dev/null || true
  stop_wine
  rm -rf "$work"
}
trap cleanup EXIT

# Two pseudo-terminals whose far ends stay open, as COM1 and COM12.
python3 -c 'import os, pty, sys, time
ends = [pty.openpty() for _ in range(2)]
print(" ".join(os.ttyname(s) for _, s in ends), flush=True)
time.sleep(600)' >"$work/ptys" &
holder_pid=$!
for _ in $(seq 100); do [ -s "$work/ptys" ] && break; sleep 0.05; done
read -r com1 com12 <"$work/ptys"
make_prefix "$com1"
import_registry <<REG
[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM12"="$com12"
REG
stop_wine

settings="$work/tenjiprint.ini"
write_line_settings "$settings"
# The console's lines end in CR LF.
"$wine64" "$windows_build/src/app/tenjiprint.com" --settings "$(windows_path "$settings")" ports 2>&1 | tr -d '\r' >"$work/ports"
cat "$work/ports"
grep -qxF '* COM1   \\.\COM1   シリアルポート' "$work/ports" || { echo "COM1 is not listed as the settings' port"; exit 1; }
grep -qxF '  COM12  \\.\COM12  シリアルポート' "$work/ports" || { echo "COM12 is not listed"; exit 1; }

sed -i 's/^COM_PORT=.*/COM_PORT=11\r/' "$settings"
if ! "$wine64" "$windows_build/src/app/tenjiprint.com" --settings "$(windows_path "$settings")" port-info >"$work/info" 2>&1; then
  cat "$work/info"
  echo "COM12 did not open"
  exit 1
fi
head -n 1 "$work/info"
grep -q '^COM12 (\\\\.\\COM12、シリアルポート), ' "$work/info" || { echo "port-info does not name COM12's device"; exit 1; }
echo "Wine's COM1 and COM12 listed; COM12 opens"
