# The printer application's test runs: a work folder of their own (state,
# spool, log, socket, settings), the virtual embosser on COM1, the server on
# 127.0.0.1 at a free port. Source it after setting `build`, `here`, `src`.
source "$src/tests/support/line_settings.sh"
work=$(mktemp -d /tmp/tenji-server.XXXXXX)
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/run HOME=$work/home TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$TMPDIR"
# The server under a name of this run's own: PAPPL names the control socket
# after the program (as root /run/NAME.sock, else $TMPDIR/NAME<uid>.sock), so
# no test reaches a server of the user's or of another run.
mkdir -p "$work/bin"
server_name=tenjiprint-server-test-$$
server=$work/bin/$server_name
ln -s "$build/src/printer_app/tenjiprint-server" "$server"
cli=$build/src/app/tenjiprint
embosser=$build/tools/virtual-embosser
settings=$work/tenjiprint.ini
write_line_settings "$settings"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ "$(id -u)" -ne 0 ] || rm -f "/run/$server_name.sock"
  if [ -n "${KEEP:-}" ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/server.log" ] && grep -E '^[EW] ' "$work/server.log" | tail -5 >&2
  exit 1
}

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
uri=ipp://127.0.0.1:$port/ipp/print/tenji

# The embosser on COM$com (default 1) for N jobs into DIR (more options may
# follow); its pid in $embosser_pid.
start_embosser() {
  local jobs=$1 out=$2
  shift 2
  rm -f "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com${com:-1}"
  "$embosser" --com "${com:-1}" --jobs "$jobs" --out "$out" "$@" >"$out.log" 2>&1 &
  embosser_pid=$!
  pids+=($embosser_pid)
  for _ in $(seq 200); do [ -L "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com${com:-1}" ] && return; sleep 0.05; done
  fail "the virtual embosser did not start: $(cat "$out.log")"
}
wait_embosser() {  # up to $1 seconds for its jobs
  for _ in $(seq $(($1 * 10))); do kill -0 "$embosser_pid" 2>/dev/null || return 0; sleep 0.1; done
  fail "the embosser did not get all its jobs in $1 s: $(ls "$2" | grep -c 'bin$') captures"
}

# What the command line sends for these arguments: $work/ref/NAME.bin.
mkdir -p "$work/ref"
reference() {
  local name=$1; shift
  start_embosser 1 "$work/ref-$name"
  "$cli" --settings "$settings" print "$@" >/dev/null 2>&1 || fail "tenjiprint print $* exited $?"
  wait_embosser 30 "$work/ref-$name"
  cp "$work/ref-$name/job-1.bin" "$work/ref/$name.bin"
}
samples=$src/samples

# Five small documents, $work/doc0.txt … doc4.txt, each of other cells and
# length, and what print sends of each: told apart in a queue's captures.
make_small_documents() {
  for d in 0 1 2 3 4; do
    python3 -c "print(chr(0x2801 + $d) * ($d + 1))" >"$work/doc$d.txt"
    reference "doc$d" "$work/doc$d.txt" --pages all
  done
}

# A full page of ⠿ ($work/long.txt, about 15 s at 9600 bit/s) and what print
# sends of it.
make_long_document() {
  python3 -c "print('\n'.join(['⠿' * 32] * 22))" >"$work/long.txt"
  reference long "$work/long.txt" --pages all
}

# A capture cut by a stop or a Cancel: what print sends up to a whole cell, then CR.
check_cut_capture() {
  python3 - "$1" "$work/ref/long.bin" <<'PY' || fail "capture $1 is not cut after a whole cell and CR"
import json, sys
cut, whole = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
info = json.load(open(sys.argv[1][:-4] + ".json"))
dots = sum(len(p["dots"]) for p in info["pages"])
ok = cut.endswith(b"\r") and whole.startswith(cut[:-1]) and len(cut) < len(whole) and dots % 6 == 0 \
     and not info["protocol_errors"]
print("cut after %d of %d bytes, %d dots" % (len(cut), len(whole), dots))
sys.exit(0 if ok else 1)
PY
}

# The server on 127.0.0.1:$port with this run's folders; extra -o options may
# follow. Its pid in $server_pid; returns once it answers.
start_server() {
  "$server" server -o listen=127.0.0.1 -o server-port="$port" -o spool-directory="$work/spool" \
    -o state-file="$work/server.state" -o log-file="$work/server.log" -o log-level=info \
    -o settings="$settings" "$@" >>"$work/server.out" 2>&1 &
  server_pid=$!
  pids+=($server_pid)
  for _ in $(seq 200); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && return
    sleep 0.05
  done
  fail "the server did not start: $(tail -3 "$work/server.out")"
}

# `tenjiprint-server jobs` until job $1 is printing (up to 30 s).
wait_processing() {
  for _ in $(seq 300); do
    "$server" jobs -d tenji 2>/dev/null | grep -qE "^$1 +processing" && return
    sleep 0.1
  done
  fail "job $1 did not start printing"
}

# Job $1 reaches state $2 (3 pending … 7 canceled, 8 aborted, 9 completed)
# within 30 s, as ipptool reads it.
expect_job_state() {
  for _ in $(seq 300); do
    ipptool -t -d jobid="$1" -d state="$2" "$uri" "$here/job-state.test" >"$work/job-state.txt" 2>&1 && return
    sleep 0.1
  done
  fail "job $1 is not in state $2: $(grep -E 'GOT|EXPECTED' "$work/job-state.txt" | head -3)"
}

# Job $1 comes to state $2 with $3 in its job-state-message (within 30 s).
expect_job_message() {
  for _ in $(seq 300); do
    ipptool -t -d jobid="$1" -d state="$2" -d message="$3" "$uri" "$here/job-message.test" >"$work/job-message.txt" 2>&1 &&
      return
    sleep 0.1
  done
  fail "job $1 is not in state $2 saying '$3': $(grep -E 'GOT|EXPECTED' "$work/job-message.txt" | head -4)"
}

# The printer's state reasons come to hold $1 within 30 s.
expect_printer_reason() {
  for _ in $(seq 300); do
    ipptool -t -d reason="$1" "$uri" "$here/printer-state.test" >"$work/printer-state.txt" 2>&1 && return
    sleep 0.1
  done
  fail "printer-state-reasons never held $1: $(grep GOT "$work/printer-state.txt" | head -2)"
}
