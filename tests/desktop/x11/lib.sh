# Shared by the desktop runs on a real X server: an Xvfb display with the
# openbox window manager, the virtual embosser as COM1, and waits with limits.
# Source it; it sets $work, $build, DISPLAY and XDG_CONFIG_HOME, and cleans up
# on exit.

source "$(dirname "${BASH_SOURCE[0]}")/../../support/line_settings.sh"

build=${BUILD_DIR:-build/default}
build=$(realpath "$build")
work=$(mktemp -d /tmp/tenji-x11.XXXXXX)
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
pids=()

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../../support/fail_reason.sh"

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    echo "windows on screen:" >&2
    { xdotool search --onlyvisible --name '.' 2>/dev/null || true; } | while read -r w; do
      echo "  $w '$(xdotool getwindowname "$w" 2>/dev/null)'" >&2
    done
  fi
  exit 1
}

# A free display number, Xvfb on it, then openbox.
start_display() {
  local n
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done 2>/dev/null
  xdotool getmouselocation >/dev/null 2>&1 || { sleep 1; xdotool getmouselocation >/dev/null 2>&1; } ||
    fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  # An empty but valid configuration: with none that parses, openbox opens a
  # "Syntax Error" window of its own, which takes the focus when it comes.
  echo '<openbox_config xmlns="http://openbox.org/3.4/rc"/>' >"$work/openbox.xml"
  openbox --config-file "$work/openbox.xml" >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
}

# The embosser as COM1 at 9600 bit/s for `jobs` jobs, and a settings file for it.
start_embosser() {
  "$build/tools/virtual-embosser" --com 1 --jobs "$1" --baud 9600 --out "$work/out" >"$work/embosser.log" 2>&1 &
  embosser_pid=$!
  pids+=($embosser_pid)
  for _ in $(seq 100); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
  settings="$work/tenjiprint.ini"
  write_line_settings "$settings"
}

wait_embosser_done() {
  for _ in $(seq 600); do kill -0 "$embosser_pid" 2>/dev/null || return 0; sleep 0.05; done
  fail "the embosser did not receive its jobs: $(cat "$work/embosser.log")"
}

# The visible window whose title is exactly $1 ($2 seconds at most, else 10),
# once it has the focus: on a busy machine a window is mapped a while before
# the window manager gives it the keyboard, and keys typed meanwhile go to
# the window below. (If it never gets the focus, the keys will tell.)
wait_window() {
  local w
  for _ in $(seq $((${2:-10} * 20))); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1 || true)
    [ -n "$w" ] && break
    sleep 0.05
  done
  [ -n "$w" ] || fail "no window '$1'"
  until_active "$w"
  echo "$w"
}

# Waits (5 s at most) until window $1 has the focus.
until_active() {
  for _ in $(seq 100); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0; sleep 0.05; done
  return 0
}

wait_window_gone() {
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "window '$1' stayed open"
}

# Waits (5 s at most) until the main window $main has the keyboard back
# after a dialog closed, as a user waits for it before pressing its keys.
# Nothing activates it: the program must give the focus back itself.
to_main() {
  for _ in $(seq 100); do
    if [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; then
      sleep 0.3
      return 0
    fi
    sleep 0.05
  done
  fail "the keyboard did not come back to the main window; active: '$(xdotool getactivewindow getwindowname 2>/dev/null || true)'"
}

# Keys to the window that has the focus, as a user types them.
keys() { xdotool key --clearmodifiers --delay 60 "$@"; sleep 0.3; }
type_text() { xdotool type --clearmodifiers --delay 20 "$1"; sleep 0.2; }

# The centre of a window's frame as "x y".
window_centre() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}

MAIN_TITLE="点字点間隔可変印刷プログラム（RUK350 Ver95用）"

# The desktop program on $settings, started by "$@" when given (a wrapper
# such as umockdev-run and its options up to "--"); its main window is then
# $main, active.
start_desktop() {
  "$@" "$build/src/app/tenjiprint" --settings "$settings" >"$work/desktop.log" 2>&1 &
  desktop=$!
  pids+=($desktop)
  main=$(wait_window "$MAIN_TITLE")
  xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  sleep 0.3
}

# 終了 from the main window; the program must end.
quit_desktop() {
  to_main
  keys alt+x
  for _ in $(seq 100); do kill -0 "$desktop" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$desktop" 2>/dev/null && fail "終了 did not end the program"
  return 0
}
