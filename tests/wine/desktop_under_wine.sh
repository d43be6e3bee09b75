#!/usr/bin/env bash
# The Windows desktop program under Wine on a real X server (Xvfb with
# openbox), used with the keyboard alone through xdotool:
#   - the main window appears under its title;
#   - one Alt+P opens the file dialog (開く), a sample and Enter, Enter in the
#     copies dialog: the virtual embosser, on COM1 through Wine's port
#     mapping, receives the very bytes the Linux program sends;
#   - 点間隔等の設定 saves a typed spacing in whole steps, and a set under a
#     bare name with the .brs extension;
#   - 周辺機器設定 stores the port chosen with the arrow keys;
#   - 終了 ends the program;
#   - after each dialog and message box the keyboard is back in the main
#     window without anything activating it.
# Every window met on the way is saved as a PNG in SHOTS_DIR when given.
# usage: desktop_under_wine.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [SHOTS_DIR]   (from the source folder)
set -euo pipefail
BUILD_DIR=$1
windows_build=$(realpath "$2")
shots=${3:+$(realpath -m "$3")}
here=$(dirname "$0")
source "$here/../desktop/x11/lib.sh"
source "$here/lib.sh"
samples=$(realpath samples)
[ -n "$shots" ] && mkdir -p "$shots"

# A window's contents as X has them (its frame is the window manager's).
shot() {
  [ -n "$shots" ] || return 0
  sleep 1  # painted first
  xwd -silent -id "$2" >"$work/shot.xwd" && "$here/xwd_to_png.py" "$work/shot.xwd" "$shots/$1.png"
}

ini_value() { tr -d '\r' <"$1" | sed -n "s/^$2=//p"; }

start_display
start_embosser 2
pts=$(grep -o '/dev/pts/[0-9]*' "$work/embosser.log" | head -n 1)
[ -n "$pts" ] || fail "the virtual embosser did not start: $(cat "$work/embosser.log")"
trap 'stop_wine; cleanup' EXIT
make_prefix "$pts"

# Job 1: the Linux program's stream of the sample, to compare with.
"$build/src/app/tenjiprint" --settings "$settings" print "$samples/aiueo.NRK" >/dev/null 2>&1
cp "$settings" "$work/wine.ini"

# Wine speaks Japanese as a Japanese Windows does.
LANG=ja_JP.UTF-8 "$wine64" "$windows_build/src/app/tenjiprint.exe" --settings "$(windows_path "$work/wine.ini")" \
  >"$work/desktop.log" 2>&1 &
desktop=$!
pids+=($desktop)
main=$(wait_window "$MAIN_TITLE" 60)  # Wine starts its services first
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
sleep 0.5
shot main-window "$main"

echo "== one Alt+P: the file dialog, a sample, Enter in the copies dialog"
keys alt+p
open_dialog=$(wait_window "開く")
shot file-dialog "$open_dialog"
type_text "$(windows_path "$samples/aiueo.NRK")"
keys Return
copies=$(wait_window "印刷")
shot copies "$copies"
keys Return
for _ in $(seq 600); do [ -f "$work/out/job-2.json" ] && break; sleep 0.05; done
[ -f "$work/out/job-2.json" ] || fail "the print from the Windows desktop did not reach the embosser"
wait_embosser_done
cmp "$work/out/job-1.bin" "$work/out/job-2.bin" || fail "the Windows desktop's stream differs from the Linux program's"
echo "desktop print under Wine: $(stat -c %s "$work/out/job-2.bin") bytes, as the Linux program's"

echo "== 点間隔等の設定: 縦点間 typed as 2 is saved as whole steps"
to_main
keys alt+t
spacing=$(wait_window "点間隔等の設定")
shot dot-spacing "$spacing"
# From ＯＫ past the four other buttons to 縦点間, whose text Tab selects.
keys Tab Tab Tab Tab Tab
type_text "2"
keys Return
wait_window "マス数・行数の提示" >/dev/null
keys Return
wait_window_gone "点間隔等の設定"
[ "$(ini_value "$work/wine.ini" TEN_HEIGHT)" = "1.91" ] ||
  fail "TEN_HEIGHT is '$(ini_value "$work/wine.ini" TEN_HEIGHT)', not 1.91"
echo "TEN_HEIGHT=1.91 saved"

echo "== 設定ファイル保存: a set saved under a bare name gets .brs"
to_main
keys alt+t
wait_window "点間隔等の設定" >/dev/null
keys alt+s
save_dialog=$(wait_window "名前を付けて保存")
shot save-dialog "$save_dialog"
type_text "$(windows_path "$work/myset")"
keys Return
for _ in $(seq 100); do [ -f "$work/myset.brs" ] && break; sleep 0.05; done
[ -f "$work/myset.brs" ] || fail "no $work/myset.brs: $(ls "$work")"
grep -q '^TEN_HEIGHT=1.91' "$work/myset.brs" || fail "the set does not hold the saved spacing"
keys Escape
wait_window_gone "点間隔等の設定"
echo "saved myset.brs"

echo "== 周辺機器設定: the second port chosen with the arrow keys"
to_main
keys alt+k
port=$(wait_window "周辺機器設定")
shot port-settings "$port"
keys Tab Tab Down Return
wait_window_gone "周辺機器設定"
[ "$(ini_value "$work/wine.ini" COM_PORT)" = "1" ] || fail "COM_PORT is '$(ini_value "$work/wine.ini" COM_PORT)', not 1"
echo "COM_PORT=1 saved"

to_main
keys alt+x
for _ in $(seq 100); do kill -0 "$desktop" 2>/dev/null || break; sleep 0.05; done
kill -0 "$desktop" 2>/dev/null && fail "終了 did not end the program"

if [ -n "$shots" ]; then
  echo "== every dialog drawn by the program itself"
  LANG=ja_JP.UTF-8 "$wine64" "$windows_build/src/app/tenjiprint.com" --screenshots "$(windows_path "$shots/dialogs")" ||
    fail "the program could not draw its dialogs"
  [ "$(ls "$shots/dialogs"/*.png | wc -l)" -eq 11 ] || fail "not every dialog was drawn: $(ls "$shots/dialogs")"
fi
echo "desktop under Wine: all passed"
