#!/usr/bin/env bash
# The desktop program used with the keyboard alone, on Xvfb with openbox,
# driven with xdotool:
#   - one Alt+P opens the file dialog (in Japanese), a sample and Enter in the
#     copies dialog print it: the embosser gets the very bytes of `print`;
#   - the copies dialog opens centred over the main window;
#   - one Alt+K opens the port settings;
#   - after a dialog or message box closes, the keyboard is back in the
#     main window without anything activating it;
#   - a .brs set saved under a bare name gets its extension;
#   - 全ページ印刷 with a range and a start line prints what `--pages 2-3
#     --from-line 3` prints;
#   - プレビュー (Alt+V), its pages turned with PageDown and Home, then its
#     印刷 prints what `--pages all` prints.
# usage: keyboard_flows.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
BUILD_DIR=${1:-build/default}
source "$(dirname "$0")/lib.sh"
samples=$(realpath samples)

start_display
start_embosser 6
# Fifty lines of one cell: three pages of 22, 22 and 6 lines.
for i in $(seq 50); do echo "⠁⠃"; done >"$work/long.txt"
"$build/tools/make-nrk" "$work/long.txt" "$work/long.NRK" >/dev/null

# Job 1: the command line's stream of the sample, to compare with.
"$build/src/app/tenjiprint" --settings "$settings" print "$samples/aiueo.NRK" >/dev/null 2>&1

start_desktop

echo "== one Alt+P: the file dialog, in Japanese"
keys alt+p
open_dialog=$(wait_window "開く")
type_text "$samples/aiueo.NRK"
keys Return
copies=$(wait_window "印刷")
read -r mx my < <(window_centre "$main")
read -r cx cy < <(window_centre "$copies")
dx=$((cx - mx)) dy=$((cy - my))
echo "copies dialog centre off the main window's by ($dx, $dy) px"
[ "${dx#-}" -le 8 ] && [ "${dy#-}" -le 30 ] || fail "the copies dialog is not centred over the main window"
keys Return
for _ in $(seq 600); do [ -f "$work/out/job-2.json" ] && break; sleep 0.05; done
[ -f "$work/out/job-2.json" ] || fail "the desktop print did not reach the embosser"
cmp "$work/out/job-1.bin" "$work/out/job-2.bin" || fail "the desktop stream differs from the command line's"
echo "desktop print: $(stat -c %s "$work/out/job-2.bin") bytes, as the command line's"
unset open_dialog

echo "== one Alt+K: the port settings"
to_main
keys alt+k
wait_window "周辺機器設定" >/dev/null
keys Escape
wait_window_gone "周辺機器設定"

echo "== 点間隔等の設定, ＯＫ, マス数・行数の提示, OK: the keyboard is back in the main window"
to_main
keys alt+t
wait_window "点間隔等の設定" >/dev/null
keys Return
wait_window "マス数・行数の提示" >/dev/null
keys Return
wait_window_gone "点間隔等の設定"

echo "== a set saved under a bare name gets .brs"
to_main
keys alt+t
wait_window "点間隔等の設定" >/dev/null
keys alt+s
wait_window "名前を付けて保存" >/dev/null
type_text "$work/myset"
keys Return
for _ in $(seq 100); do [ -f "$work/myset.brs" ] && break; sleep 0.05; done
[ -f "$work/myset.brs" ] || fail "no $work/myset.brs: $(ls "$work")"
[ ! -e "$work/myset" ] || fail "a file without the extension was written"
keys Escape
wait_window_gone "点間隔等の設定"
echo "saved $work/myset.brs"

echo "== 全ページ印刷, pages 2 to 3 from line 3"
to_main
keys alt+p
wait_window "開く" >/dev/null
type_text "$work/long.NRK"
keys Return
wait_window "印刷時の警告" >/dev/null
keys alt+a
wait_window "印刷するページ" >/dev/null
# The first field's text is selected: typing replaces it.
type_text "2"
keys Tab
type_text "3"
keys Tab
type_text "3"
keys Return
wait_window "印刷" >/dev/null
keys Return
for _ in $(seq 600); do [ -f "$work/out/job-3.json" ] && break; sleep 0.05; done
[ -f "$work/out/job-3.json" ] || fail "the range print did not reach the embosser"
"$build/src/app/tenjiprint" --settings "$settings" print "$work/long.NRK" --pages 2-3 --from-line 3 >/dev/null 2>&1
for _ in $(seq 600); do [ -f "$work/out/job-4.json" ] && break; sleep 0.05; done
cmp "$work/out/job-3.bin" "$work/out/job-4.bin" || fail "the range printed from the window differs from --pages 2-3 --from-line 3"
[ -f "$work/out/job-3-page-2.png" ] && [ ! -e "$work/out/job-3-page-3.png" ] || fail "the range print is not two pages: $(ls "$work/out")"
echo "range print: 2 pages, $(stat -c %s "$work/out/job-3.bin") bytes, as the command line's"

echo "== プレビュー: Alt+V, a sample, PageDown, Home, 印刷, Enter"
to_main
keys alt+v
wait_window "開く" >/dev/null
type_text "$samples/three-pages.brf"
keys Return
wait_window "印刷するページ" >/dev/null
keys Return
preview=$(wait_window "印刷プレビュー")
keys Next
keys Home
[ -n "${SHOTS_DIR:-}" ] && xwd -id "$preview" -silent >"$SHOTS_DIR/preview.xwd"
keys alt+p
wait_window "印刷" >/dev/null
keys Return
for _ in $(seq 600); do [ -f "$work/out/job-5.json" ] && break; sleep 0.05; done
[ -f "$work/out/job-5.json" ] || fail "the print from the preview did not reach the embosser"
"$build/src/app/tenjiprint" --settings "$settings" print "$samples/three-pages.brf" --pages all >/dev/null 2>&1
wait_embosser_done
cmp "$work/out/job-5.bin" "$work/out/job-6.bin" || fail "the print from the preview differs from print --pages all"
echo "print from the preview: $(stat -c %s "$work/out/job-5.bin") bytes, as print --pages all's"

quit_desktop
echo "keyboard flows: all passed"
