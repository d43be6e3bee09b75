#!/usr/bin/env bash
# The settings page in headless Chromium (settings_page.py), then the next
# job: it prints with the saved whole-step value, byte for byte what
# `tenjiprint print` sends with those settings. From another address than
# loopback (this machine's own), the page reads but a change is refused
# while no administrator is set.
# usage: settings_page_test.sh [BUILD_DIR] [AXE_JS]   (from the source folder)
set -euo pipefail
build=$(realpath "${1:-build/default}")
axe=${2:-/usr/local/lib/tenjiprint-test/node_modules/axe-core/axe.min.js}
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
source "$here/lib.sh"

sed 's/TEN_HEIGHT=2.22/TEN_HEIGHT=2.54/' "$settings" >"$work/wider.ini"
cp "$settings" "$work/original.ini"
settings=$work/wider.ini reference wider "$samples/three-pages.brf" --pages all
settings=$work/original.ini

start_embosser 1 "$work/after-page"
start_server
"$server" add -d tenji -m tenjiprint -v tenjiprint:///COM1 || fail "add exited $?"
/usr/bin/python3 "$here/settings_page.py" "http://127.0.0.1:$port" "$axe" "$work" || fail "the settings page"
grep -q '^TEN_HEIGHT=2.54' "$settings" || fail "the settings file does not hold 2.54"
"$server" submit -d tenji "$samples/three-pages.brf" >/dev/null || fail "submit"
wait_embosser 60 "$work/after-page"
cmp -s "$work/after-page/job-1.bin" "$work/ref/wider.bin" || fail "the job after the save does not use 縦点間 2.54"
echo "the next job: printed with 縦点間 2.54"

# Another host's view: the server on every address, reached on this
# machine's own non-loopback address.
other=$(hostname -I 2>/dev/null | awk '{print $1}')
if [ -z "$other" ]; then
  echo "no address besides loopback: the other-host check is skipped"
  exit 0
fi
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
start_server -o listen=any
/usr/bin/python3 - "http://$other:$port/tenjiprint" <<'PY' || fail "another host changed the settings"
import re, sys, urllib.error, urllib.parse, urllib.request
page = urllib.request.urlopen(sys.argv[1]).read().decode()
assert 'disabled' in page and "管理者としてログイン" in page, "the page does not say it is read-only"
token = re.search(r'name="session" value="([^"]*)"', page).group(1)
data = urllib.parse.urlencode({"session": token, "action": "save", "TEN_HEIGHT": "3.0"}).encode()
try:
    urllib.request.urlopen(sys.argv[1], data)
    sys.exit("the change was taken")
except urllib.error.HTTPError as e:
    body = e.read().decode()
    assert e.code == 403 and "管理者のパスワードが要ります" in body, (e.code, body[:200])
print("another host (%s): reads the page, a change is refused (403) without an administrator" % sys.argv[1])
PY
grep -q '^TEN_HEIGHT=2.54' "$settings" || fail "the settings changed from another host"
