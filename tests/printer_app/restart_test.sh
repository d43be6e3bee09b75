#!/usr/bin/env bash
# The queue across stops: killed (SIGKILL) while a job prints with two
# waiting, the server started again prints the waiting ones by itself, in
# order, and ends the cut job as aborted; stopped (SIGTERM) while a job
# prints, it exits within 2 s, the job ending after a whole cell and CR, and
# the waiting job prints after the next start.
# usage: restart_test.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
source "$here/lib.sh"

# A long job and two short ones.
make_long_document
printf '⠁⠃\n' >"$work/short1.txt"
printf '⠉⠙⠑\n' >"$work/short2.txt"
reference short1 "$work/short1.txt" --pages all
reference short2 "$work/short2.txt" --pages all

submit() { local id; id=$("$server" submit -d tenji "$1") || fail "submit $1"; echo "${id#tenji-}"; }


# A second server of the same name and user does not take the first one's
# control socket: it says so and exits, and the first goes on answering.
start_embosser 3 "$work/killed" --baud 9600
start_server
other_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
if "$server" server -o listen=127.0.0.1 -o server-port="$other_port" -o spool-directory="$work/spool2" \
    -o state-file="$work/server2.state" >"$work/second.out" 2>&1; then
  fail "a second server started beside the first"
fi
grep -q "$server_name はもう動いています" "$work/second.out" || fail "the second server did not say why: $(cat "$work/second.out")"
"$server" printers >/dev/null || fail "the first server stopped answering"
echo "a second server: refused ($(head -1 "$work/second.out"))"

# SIGKILL mid-job, two waiting.
"$server" add -d tenji -m tenjiprint -v tenjiprint:///COM1 || fail "add exited $?"
long=$(submit "$work/long.txt")
first=$(submit "$work/short1.txt")
second=$(submit "$work/short2.txt")
wait_processing "$long"
sleep 2  # the queue is in the state file within a second
kill -KILL "$server_pid"
wait "$server_pid" 2>/dev/null || true
start_server
wait_embosser 60 "$work/killed"
cmp -s "$work/killed/job-2.bin" "$work/ref/short1.bin" || fail "after the restart, job $first did not print first"
cmp -s "$work/killed/job-3.bin" "$work/ref/short2.bin" || fail "after the restart, job $second did not print second"
expect_job_state "$long" 8
echo "SIGKILL: jobs $first and $second printed by themselves in order after the restart; job $long aborted"

# SIGTERM mid-job, one waiting.
start_embosser 2 "$work/stopped" --baud 9600
long=$(submit "$work/long.txt")
waiting=$(submit "$work/short1.txt")
wait_processing "$long"
sleep 1
start=$(date +%s.%N)
kill -TERM "$server_pid"
for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.05; done
took=$(python3 -c "import time; print('%.2f' % (time.time() - $start))")
kill -0 "$server_pid" 2>/dev/null && fail "the server still runs 5 s after SIGTERM"
python3 -c "import sys; sys.exit(0 if $took <= 2.0 else 1)" || fail "the server took ${took} s to stop"
for _ in $(seq 50); do [ -f "$work/stopped/job-1.json" ] && break; sleep 0.1; done
check_cut_capture "$work/stopped/job-1.bin"
start_server
wait_embosser 60 "$work/stopped"
cmp -s "$work/stopped/job-2.bin" "$work/ref/short1.bin" || fail "the job waiting at SIGTERM did not print after the restart"
expect_job_state "$long" 8
expect_job_state "$waiting" 9
echo "SIGTERM: stopped in ${took} s after a whole cell and CR; job $waiting printed after the restart"
