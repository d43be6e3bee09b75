#!/usr/bin/env bash
# tenjiprint-server as a client meets it, on 127.0.0.1 only, with its own
# state, spool, log and socket folders and the virtual embosser as its
# device: the printer's attributes and each document format through ipptool,
# every capture byte for byte what `tenjiprint print` sends; formats that are
# no Braille refused; 10 clients × 5 jobs at once printed each once, whole, in
# job-id order; a body over the limit and one cut short never printed.
# usage: server_test.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
source "$here/lib.sh"

reference nrk "$samples/aiueo.NRK" --pages all
reference brf "$samples/three-pages.brf" --pages all
reference pef "$samples/three-pages.pef" --pages all
reference text "$samples/aiueo.txt" --pages all
reference pages "$samples/three-pages.pef" --pages 2-3
reference copies "$samples/aiueo.brf" --pages all --copies 2
make_small_documents
make_long_document

# The server: loopback only, its own folders, documents up to 100000 bytes.
start_embosser 7 "$work/formats"
start_server -o max-document-size=100000
"$server" add -d tenji -m tenjiprint -v tenjiprint:///COM1 || fail "add exited $?"
# Not on every address: nothing answers on this machine's other addresses.
other=$(hostname -I 2>/dev/null | awk '{print $1}')
if [ -n "$other" ] && python3 -c "import socket; socket.create_connection(('$other', $port), 1)" 2>/dev/null; then
  fail "the server answers on $other"
fi

ipptool -t "$uri" "$here/get-printer-attributes.test" >"$work/attrs.txt" 2>&1 ||
  fail "Get-Printer-Attributes: $(tail -5 "$work/attrs.txt")"

# Each format, in this order; the captures come in the same order.
print_job() {  # FILE FORMAT COPIES [FROM TO]
  if [ $# -eq 5 ]; then
    ipptool -t -d filename="$1" -d format="$2" -d copies="$3" -d pages="$4-$5" "$uri" \
      "$here/print-job-pages.test" >"$work/print.txt" 2>&1
  else
    ipptool -t -d filename="$1" -d format="$2" -d copies="$3" -d jobname="$(basename "$1")" "$uri" \
      "$here/print-job.test" >"$work/print.txt" 2>&1
  fi || fail "Print-Job $*: $(tail -5 "$work/print.txt")"
}
print_job "$samples/aiueo.NRK" application/x-nrk 1
print_job "$samples/three-pages.brf" application/vnd.cups-brf 1
print_job "$samples/three-pages.pef" application/x-pef+xml 1
print_job "$samples/aiueo.txt" 'text/plain;charset=utf-8' 1
print_job "$samples/three-pages.pef" application/octet-stream 1
print_job "$samples/three-pages.pef" application/x-pef+xml 1 2 3
print_job "$samples/aiueo.brf" application/vnd.cups-brf 2
wait_embosser 60 "$work/formats"
n=0
for name in nrk brf pef text pef pages copies; do
  n=$((n + 1))
  cmp -s "$work/formats/job-$n.bin" "$work/ref/$name.bin" || fail "capture $n is not what print sends for $name"
done
# Sheets as impressions: three pages; two pages of a range; two copies of one.
for job_and_count in 2:3 6:2 7:2; do
  ipptool -t -d jobid="${job_and_count%:*}" -d count="${job_and_count#*:}" "$uri" "$here/job-impressions.test" \
    >"$work/impressions.txt" 2>&1 || fail "job-impressions-completed of job ${job_and_count%:*}: $(grep GOT "$work/impressions.txt")"
done
echo "formats: 7 jobs byte-identical to tenjiprint print (NRK, BRF, PEF, text, octet-stream, page-ranges, copies)" and their impressions

printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$work/picture.png"
ipptool -t -d png="$work/picture.png" "$uri" "$here/refused-formats.test" >"$work/refused.txt" 2>&1 ||
  fail "formats not refused: $(grep -B2 -A4 FAIL "$work/refused.txt")"
echo "refused: image/png, application/pdf, image/pwg-raster, and a PNG sent as octet-stream"

# Bodies over the limit and cut short, then a good job: only it prints.
start_embosser 1 "$work/after-faults"
status=$(python3 "$here/ipp_raw.py" "$port" tenji too-large-length 200000)
[ "$status" = 0408 ] || fail "a 200000-byte body with its length: status $status, not request-entity-too-large (0408)"
status=$(python3 "$here/ipp_raw.py" "$port" tenji too-large-chunked 400000)
[ "$status" = 0408 ] || fail "a chunked body past the limit: status $status, not request-entity-too-large (0408)"
status=$(python3 "$here/ipp_raw.py" "$port" tenji cut-short 3000)
[ "$status" != 0000 ] || fail "a body cut short was taken (successful-ok)"
# A document its reader refuses, and one too wide for the print area: each
# job ends with the reason, and the server goes on.
printf '<?xml version="1.0"?>\n<pef version="2008-1" xmlns="http://www.daisy.org/ns/2008/pef"><body>' >"$work/broken.pef"
broken=$("$server" submit -d tenji "$work/broken.pef") || fail "submit broken.pef"
python3 -c "print(chr(0x283F) * 40)" >"$work/wide.txt"
wide=$("$server" submit -d tenji "$work/wide.txt") || fail "submit wide.txt"
expect_job_message "${broken#tenji-}" 8 "PEFの点字ファイルとして読めません"
expect_job_message "${wide#tenji-}" 8 "印刷範囲に収まりません: 1行 32マス・1ページ 22行の設定に対し、最長の行 40マス"
print_job "$samples/three-pages.brf" application/vnd.cups-brf 1
wait_embosser 60 "$work/after-faults"
cmp -s "$work/after-faults/job-1.bin" "$work/ref/brf.bin" || fail "the job after the faults is not the good document"
[ "$(ls "$work/spool" | grep -c -v '\.state$' || true)" -le 1 ] || fail "spool files left: $(ls "$work/spool")"
echo "limits: too large with a length and chunked → 0408, cut short → $status, nothing printed of them"
echo "refusals: a broken PEF and a too wide document aborted with the reader's and the fit check's words"

# 1,000 requests and documents made wrong at random: the server answers
# every one it can read and goes on printing.
start_embosser 1 "$work/after-malformed"
answered=$(python3 "$here/ipp_raw.py" "$port" tenji malformed 1000)
print_job "$samples/three-pages.brf" application/vnd.cups-brf 1
wait_embosser 120 "$work/after-malformed"
cmp -s "$work/after-malformed/job-1.bin" "$work/ref/brf.bin" || fail "the good job after the malformed ones"
echo "malformed: 1000 requests ($answered answered), then a good job printed"

# Get-Printer-Attributes while a job prints: p99 within 50 ms.
start_embosser 1 "$work/busy" --baud 9600
long=$("$server" submit -d tenji "$work/long.txt") || fail "submit"
wait_processing "${long#tenji-}"
read -r p50 p99 worst < <(python3 "$here/ipp_raw.py" "$port" tenji latency 300)
python3 -c "import sys; sys.exit(0 if $p99 <= 50 else 1)" || fail "Get-Printer-Attributes p99 ${p99} ms while printing"
echo "Get-Printer-Attributes while printing: p50 ${p50} ms, p99 ${p99} ms, max ${worst} ms (300 requests)"
"$server" cancel -d tenji -j "${long#tenji-}" >/dev/null 2>&1 || true
wait_embosser 30 "$work/busy"

# 10 clients, 5 jobs each, at once: every job once, whole, in job-id order.
start_embosser 50 "$work/load"
for c in $(seq 0 9); do
  (for j in 0 1 2 3 4; do
    d=$(((c + j) % 5))
    id=$("$server" submit -d tenji "$work/doc$d.txt") || exit 1
    echo "${id#tenji-} $d"
  done >"$work/client$c.ids") &
  pids+=($!)
done
for c in $(seq 0 9); do wait "${pids[-$((10 - c))]}" || fail "client $c could not submit"; done
wait_embosser 120 "$work/load"
sort -n "$work"/client*.ids >"$work/ids"
[ "$(wc -l <"$work/ids")" -eq 50 ] || fail "$(wc -l <"$work/ids") jobs accepted of 50"
n=0
while read -r id d; do
  n=$((n + 1))
  cmp -s "$work/load/job-$n.bin" "$work/ref/doc$d.bin" || fail "capture $n (job $id) is not document $d"
done <"$work/ids"
grep -q '"boundary_certain": false' "$work"/load/*.json && fail "a job boundary was uncertain"
aborted=$("$server" jobs -d tenji -a 2>/dev/null | grep -c -E 'aborted|canceled' || true)
echo "load: 50 jobs from 10 clients at once, each printed once, whole, in job-id order"
