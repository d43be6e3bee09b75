#!/usr/bin/env bash
# The printer application behind a real CUPS: a cupsd of this run's own
# (ServerRoot, spool, logs), listening on 127.0.0.1 only, with a raw IPP
# queue to the server (no model: CUPS 2.4 sends the document as it is,
# typed application/octet-stream, with page-ranges and copies, and leaves
# them to the printer). `lp -o page-ranges=2-3` reaches the embosser as
# `print --pages 2-3`; 10 clients × 5 jobs through the queue print each
# once, whole, in order; `cancel` mid-job stops after a whole cell and CR.
# usage: cupsd_test.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
source "$here/lib.sh"

cups_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cups=$work/cups
mkdir -p "$cups"/{spool/tmp,cache,state,log,ppd}
chmod 0710 "$cups/spool"
cat >"$cups/cupsd.conf" <<CONF
Listen 127.0.0.1:$cups_port
LogLevel info
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Location /admin>
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$cups/cups-files.conf" <<CONF
ServerRoot $cups
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/state
AccessLog $cups/log/access_log
ErrorLog $cups/log/error_log
PageLog $cups/log/page_log
User lp
Group lp
SystemGroup root
FatalErrors config
CONF
chgrp -R lp "$cups"
chmod -R g+rwX "$cups"
chmod o+x "$work"
/usr/sbin/cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" >"$cups/log/cupsd.out" 2>&1 &
pids+=($!)
export CUPS_SERVER=127.0.0.1:$cups_port
for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
lpstat -r | grep -q 'is running' || fail "cupsd did not start: $(cat "$cups/log/cupsd.out" "$cups/log/error_log" 2>/dev/null | tail -5)"

make_long_document
reference pages "$samples/three-pages.pef" --pages 2-3
reference copies "$samples/three-pages.brf" --pages all --copies 2
make_small_documents

start_embosser 2 "$work/through-cups"
start_server
"$server" add -d tenji -m tenjiprint -v tenjiprint:///COM1 || fail "add exited $?"
lpadmin -p tenji -E -v "$uri" 2>"$work/lpadmin.err" || fail "lpadmin: $(cat "$work/lpadmin.err")"
[ ! -s "$work/lpadmin.err" ] || fail "lpadmin warned: $(cat "$work/lpadmin.err")"

lp -d tenji -o page-ranges=2-3 "$samples/three-pages.pef" >/dev/null || fail "lp page-ranges"
lp -d tenji -n 2 "$samples/three-pages.brf" >/dev/null || fail "lp copies"
wait_embosser 60 "$work/through-cups"
cmp -s "$work/through-cups/job-1.bin" "$work/ref/pages.bin" || fail "lp -o page-ranges=2-3 is not print --pages 2-3"
cmp -s "$work/through-cups/job-2.bin" "$work/ref/copies.bin" || fail "lp -n 2 is not print --copies 2"
echo "cupsd: page-ranges=2-3 and -n 2 byte-identical to tenjiprint print"

# 10 clients × 5 jobs through the queue.
start_embosser 50 "$work/load" 
client_pids=()
for c in $(seq 0 9); do
  (for j in 0 1 2 3 4; do
    d=$(((c + j) % 5))
    id=$(lp -d tenji "$work/doc$d.txt") || exit 1
    id=${id#request id is tenji-}
    echo "${id%% *} $d"
  done >"$work/client$c.ids") &
  client_pids+=($!)
done
for p in "${client_pids[@]}"; do wait "$p" || fail "a client could not submit"; done
wait_embosser 180 "$work/load"
sort -n "$work"/client*.ids >"$work/ids"
n=0
while read -r id d; do
  n=$((n + 1))
  cmp -s "$work/load/job-$n.bin" "$work/ref/doc$d.bin" || fail "capture $n (CUPS job $id) is not document $d"
done <"$work/ids"
[ "$n" -eq 50 ] || fail "$n jobs of 50"
echo "cupsd: 50 jobs from 10 clients at once, each printed once, whole, in the queue's order"

# cancel mid-job.
start_embosser 1 "$work/cancelled" --baud 9600
id=$(lp -d tenji "$work/long.txt")
id=${id#request id is }
id=${id%% *}
wait_processing "[0-9]+"
sleep 1
cancel "$id" || fail "cancel $id"
wait_embosser 30 "$work/cancelled"
check_cut_capture "$work/cancelled/job-1.bin"
echo "cupsd: cancel stopped the job after a whole cell and CR"
