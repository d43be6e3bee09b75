#!/usr/bin/env bash
# The embosser's line from the server's side: a job for a port that is not
# there waits with the printer offline and prints once the port comes; the
# line closed mid-job ends that job with the reason, the printer offline,
# and the next job prints once the embosser is back; a line the embosser
# holds shows as the printer reason "other" while it lasts, and after a
# Cancel it never releases, the job gives up and leaves the printer offline.
# usage: port_test.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
source "$here/lib.sh"

make_long_document
reference brf "$samples/three-pages.brf" --pages all
# A COM number with no serial port behind it on this machine (COM1 falls
# back to /dev/ttyS0).
com=9
while [ -e "/dev/ttyS$((com - 1))" ]; do com=$((com + 1)); done

start_server
"$server" add -d tenji -m tenjiprint -v "tenjiprint:///COM$com" || fail "add exited $?"
waiting=$("$server" submit -d tenji "$samples/three-pages.brf") || fail "submit"
expect_printer_reason offline
expect_job_message "${waiting#tenji-}" 5 "点字プリンターのポート COM$com"
start_embosser 1 "$work/came-back"
wait_embosser 60 "$work/came-back"
cmp -s "$work/came-back/job-1.bin" "$work/ref/brf.bin" || fail "the job that waited for the port is not the document"
expect_printer_reason none
echo "no port: the job waited with the printer offline, and printed when the port came"

start_embosser 1 "$work/closed" --baud 9600
cut=$("$server" submit -d tenji "$work/long.txt") || fail "submit"
wait_processing "${cut#tenji-}"
sleep 1
kill "$embosser_pid"
expect_job_message "${cut#tenji-}" 8 "COM$com"
expect_printer_reason offline
start_embosser 1 "$work/back"
"$server" submit -d tenji "$samples/three-pages.brf" >/dev/null || fail "submit"
wait_embosser 60 "$work/back"
cmp -s "$work/back/job-1.bin" "$work/ref/brf.bin" || fail "the job after the line came back is not the document"
expect_printer_reason none
echo "line closed mid-job: that job aborted with the reason, the printer offline until the next job printed"

start_embosser 1 "$work/held" --hold-after 2000 --hold-ms 8000
held=$("$server" submit -d tenji "$work/long.txt") || fail "submit"
expect_printer_reason other
expect_job_message "${held#tenji-}" 5 "点字プリンターが受信を止めています"
wait_embosser 60 "$work/held"
cmp -s "$work/held/job-1.bin" "$work/ref/long.bin" || fail "the job held for 8 s is not the document"
expect_job_state "${held#tenji-}" 9
expect_printer_reason none
echo "held line: the printer reason 'other' while the embosser held it 8 s, then the whole job"

start_embosser 1 "$work/given-up" --hold-after 2000 --hold-ms 60000
stuck=$("$server" submit -d tenji "$work/long.txt") || fail "submit"
expect_printer_reason other
"$server" cancel -d tenji -j "${stuck#tenji-}" >/dev/null || fail "cancel"
expect_job_message "${stuck#tenji-}" 7 "点字プリンターが受信を止めたままのため、印刷を打ち切りました。"
expect_printer_reason offline
kill "$embosser_pid"
echo "held after Cancel: the job gave up after 10 s with the reason, the printer offline"
