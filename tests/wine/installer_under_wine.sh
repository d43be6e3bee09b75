#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it:
#   - a silent install puts the program under Program Files with a
#     Start-menu entry "点字点間隔可変印刷プログラム" and an uninstall entry;
#   - the installed console program prints a sample with the settings file
#     beside it, and the virtual embosser receives the Linux program's bytes;
#   - a silent uninstall removes the program and the entry, not the settings;
#   - for a user who may not write into the program's folder, the settings
#     go to %APPDATA%\tenjiprint\tenjiprint.ini (when run as root, through a
#     user of its own).
# usage: installer_under_wine.sh LINUX_BUILD_DIR INSTALLER.exe   (from the source folder)
set -euo pipefail
linux_build=$(realpath "$1")
installer=$(realpath "$2")
here=$(realpath "$(dirname "$0")")
work=$(mktemp -d /tmp/tenji-installer.XXXXXX)
source "$here/lib.sh"
embosser_pid=
made_user=
cleanup() {
  [ -n "$embosser_pid" ] && kill "$embosser_pid" 2>/dev/null || true
  stop_wine
  if [ -n "$made_user" ]; then
    runuser -u tenjitest -- env WINEPREFIX="$work/user/prefix" wineserver -k >/dev/null 2>&1 || true
    userdel --remove tenjitest >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
until_gone() { for _ in $(seq 200); do [ -e "$1" ] || return 0; sleep 0.05; done; return 1; }

export XDG_CONFIG_HOME="$work/config"
start_pty_embosser "$linux_build" 2 || fail "no embosser"
make_prefix "$pts"

echo "== silent install"
"$wine64" "$installer" /S >"$work/install.log" 2>&1  # the wineserver it starts writes here too
folder="$WINEPREFIX/drive_c/Program Files/tenjiprint"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/点字点間隔可変印刷プログラム.lnk"
for f in tenjiprint.exe tenjiprint.com make-nrk.exe Uninstall.exe samples/aiueo.NRK readme-ja.txt; do
  [ -f "$folder/$f" ] || fail "not installed: $f ($(ls "$folder" 2>&1))"
done
[ ! -e "$folder/README.md" ] || fail "the developers' README.md was installed"
grep -q '%APPDATA%\\tenjiprint\\tenjiprint.ini' "$folder/readme-ja.txt" || fail "the readme does not say where the settings are"
[ -f "$entry" ] || fail "no Start-menu entry"
# reg prints in the console's code page: Shift_JIS in a Japanese locale.
LANG=ja_JP.UTF-8 "$wine64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\tenjiprint' \
  /v DisplayName 2>/dev/null | iconv -f CP932 -t UTF-8 | grep -q '点字点間隔可変印刷プログラム' || fail "no uninstall entry"
echo "installed: $(ls "$folder" | tr '\n' ' ')"

echo "== the installed program prints from the command line"
settings="$work/tenjiprint.ini"
write_line_settings "$settings"
"$linux_build/src/app/tenjiprint" --settings "$settings" print samples/aiueo.NRK >/dev/null 2>&1
cp "$settings" "$folder/tenjiprint.ini"  # beside the program: the settings it uses
"$wine64" "C:\\Program Files\\tenjiprint\\tenjiprint.com" print "C:\\Program Files\\tenjiprint\\samples\\aiueo.NRK" \
  >"$work/print.log" 2>&1 || fail "the installed program's print failed: $(cat "$work/print.log")"
wait_embosser_jobs || fail "the embosser did not get both prints"
cmp "$work/out/job-1.bin" "$work/out/job-2.bin" || fail "the installed program's stream differs from the Linux one"
echo "installed program's print: $(stat -c %s "$work/out/job-2.bin") bytes, as the Linux program's"

echo "== silent uninstall keeps the settings"
"$wine64" "C:\\Program Files\\tenjiprint\\Uninstall.exe" /S
until_gone "$folder/tenjiprint.exe" || fail "the uninstaller left the program"
until_gone "$entry" || fail "the uninstaller left the Start-menu entry"
[ -f "$folder/tenjiprint.ini" ] || fail "the uninstaller removed the settings file"
echo "uninstalled; left: $(ls "$folder" | tr '\n' ' ')"
stop_wine

if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null; then
  echo "== a user without write access to the program's folder: settings in %APPDATA%"
  if ! id tenjitest >/dev/null 2>&1; then
    useradd --create-home tenjitest
    made_user=1
  fi
  user_work="$work/user"
  mkdir -p "$user_work" && chown tenjitest "$user_work" && chmod 755 "$work"
  cp "$installer" "$user_work/setup.exe" && chown tenjitest "$user_work/setup.exe"
  as_user() { runuser -u tenjitest -- env HOME=/home/tenjitest WINEPREFIX="$user_work/prefix" WINEDEBUG=-all "$@"; }
  as_user "$wine64" wineboot -i >/dev/null 2>&1 || true
  as_user "$wine64" "$(windows_path "$user_work/setup.exe")" /S
  user_folder="$user_work/prefix/drive_c/Program Files/tenjiprint"
  [ -f "$user_folder/tenjiprint.com" ] || fail "the user's install did not happen"
  chown -R root:root "$user_folder" && chmod 755 "$user_folder"  # as an administrator's install is
  as_user "$wine64" "C:\\Program Files\\tenjiprint\\tenjiprint.com" port-info >"$work/port-info.log" 2>&1 || true
  appdata="$user_work/prefix/drive_c/users/tenjitest/AppData/Roaming/tenjiprint/tenjiprint.ini"
  [ -f "$appdata" ] || fail "no settings in %APPDATA%: $(cat "$work/port-info.log")"
  [ ! -e "$user_folder/tenjiprint.ini" ] || fail "settings were written into the program's folder"
  grep -q '^CPL=32' "$appdata" || fail "the settings in %APPDATA% are not the defaults"
  as_user wineserver -k >/dev/null 2>&1 || true
  echo "settings made in %APPDATA%\\tenjiprint\\tenjiprint.ini"
fi
echo "installer under Wine: all passed"
