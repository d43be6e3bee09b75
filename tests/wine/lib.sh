# Shared by the runs under Wine: a fresh prefix whose "ＭＳ Ｐゴシック" is
# IPAPGothic (without it every Japanese control shows empty boxes), COM
# ports mapped to pseudo-terminals, and the virtual embosser on one. Source
# it after $work is set.

source "$(dirname "${BASH_SOURCE[0]}")/../support/line_settings.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/fail_reason.sh"

wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all

# Windows' form of a Linux path, through drive Z:.
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

# A registry file in the UTF-16 that regedit reads.
import_registry() {
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; cat; } | iconv -f UTF-8 -t UTF-16LE |
    { printf '\xff\xfe'; cat; } >"$work/import.reg"
  "$wine64" regedit "$work/import.reg" >"$work/regedit.log" 2>&1 || { cat "$work/regedit.log"; return 1; }
}

# A prefix ready for the program; COM1 on the pseudo-terminal $1 if given.
make_prefix() {
  "$wine64" wineboot -i >/dev/null 2>&1 || true
  import_registry <<REG
[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
REG
  if [ -n "${1:-}" ]; then
    import_registry <<REG
[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM1"="$1"
REG
  fi
  stop_wine  # ports are read at start
}

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }

# The virtual embosser of Linux build $1 for $2 jobs, on a pseudo-terminal
# whose path is then in $pts; its process is $embosser_pid.
start_pty_embosser() {
  "$1/tools/virtual-embosser" --com 1 --jobs "$2" --out "$work/out" >"$work/embosser.log" 2>&1 &
  embosser_pid=$!
  for _ in $(seq 200); do grep -q '/dev/pts/' "$work/embosser.log" 2>/dev/null && break; sleep 0.05; done
  pts=$(grep -o '/dev/pts/[0-9]*' "$work/embosser.log" | head -n 1)
  [ -n "$pts" ] || { echo "the virtual embosser did not start: $(cat "$work/embosser.log")" >&2; return 1; }
}

# Waits (30 s at most) until the embosser has had its jobs and ended.
wait_embosser_jobs() {
  for _ in $(seq 600); do kill -0 "$embosser_pid" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$embosser_pid" 2>/dev/null; then
    echo "the embosser did not see its jobs: $(cat "$work/embosser.log")" >&2
    return 1
  fi
  embosser_pid=
}
