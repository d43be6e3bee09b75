# Shared by the runs under Wine: a fresh prefix whose "ＭＳ Ｐゴシック" is
# IPAPGothic (without it every Japanese control shows empty boxes), and
# COM ports mapped to pseudo-terminals. Source it after $work is set.

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
