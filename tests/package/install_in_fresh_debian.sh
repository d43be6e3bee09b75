#!/usr/bin/env bash
# The built packages in a fresh minimal Debian root, as a user meets them:
# apt installs them with what they depend on; an ordinary user gets the
# version, settings under ~/.config, a print on the packaged virtual
# embosser byte-identical to the build's, and every window drawn offscreen;
# the printer application prints the same stream through IPP, and its
# systemd unit is installed but not enabled; then purging leaves none of the
# packages' files behind.
#   usage: install_in_fresh_debian.sh LINUX_BUILD_DIR PACKAGE_DIR
set -euo pipefail
build=$(realpath "$1")
packages=$(realpath "$2")
here=$(dirname "$0")
source "$here/../support/line_settings.sh"
sample=$(realpath "$here/../../samples/aiueo.NRK")
version=$(sed -n 's/^project(tenjiprint VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")

work=$(mktemp -d /tmp/tenji-package.XXXXXX)
root="$work/root"
mounted=()
embosser_pid=
cleanup() {
  [ -n "$embosser_pid" ] && kill "$embosser_pid" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== the build's stream of the sample, to compare with"
mkdir -p "$work/host"
write_line_settings "$work/host/line.ini"
XDG_CONFIG_HOME="$work/host/config" "$build/tools/virtual-embosser" --com 1 --jobs 1 --out "$work/host/out" \
  >"$work/host/embosser.log" 2>&1 &
embosser_pid=$!
for _ in $(seq 200); do [ -L "$work/host/config/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
XDG_CONFIG_HOME="$work/host/config" "$build/src/app/tenjiprint" --settings "$work/host/line.ini" print "$sample" >/dev/null 2>&1
wait "$embosser_pid"
embosser_pid=

echo "== a fresh Debian root"
mmdebstrap --variant=apt --quiet bookworm "$root"
for m in dev dev/pts proc; do
  mount --bind "/$m" "$root/$m"
  mounted+=("$root/$m")
done
in_root() { chroot "$root" "$@"; }
as_reader() { chroot --userspec=reader:reader "$root" env HOME=/home/reader LANG=C.UTF-8 "$@"; }

echo "== apt installs the packages and what they depend on"
mkdir -p "$root/tmp/debs"
cp "$packages"/tenjiprint_*.deb "$packages"/tenjiprint-tools_*.deb "$packages"/tenjiprint-server_*.deb "$root/tmp/debs/"
in_root apt-get update -q >"$work/update.log" 2>&1 || { cat "$work/update.log"; fail "apt could not update"; }
in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/debs/*.deb' >"$work/apt.log" 2>&1 ||
  { tail -n 30 "$work/apt.log"; fail "apt could not install"; }
in_root dpkg -L tenjiprint tenjiprint-tools tenjiprint-server | sort -u >"$work/files.txt"
in_root useradd -m reader

echo "== the version, and settings in the user's folder"
said=$(as_reader tenjiprint --version)
[ "$said" = "tenjiprint $version" ] || fail "--version says '$said'"
as_reader tenjiprint ports >/dev/null || true
[ -f "$root/home/reader/.config/tenjiprint/tenjiprint.ini" ] ||
  fail "no settings under ~/.config/tenjiprint: $(find "$root/home/reader" -type f)"
[ ! -e "$root/usr/bin/tenjiprint.ini" ] || fail "settings were written beside the program"

echo "== a print on the packaged virtual embosser"
write_line_settings "$root/home/reader/.config/tenjiprint/tenjiprint.ini"
cp "$sample" "$root/tmp/aiueo.NRK"
as_reader tenjiprint-virtual-embosser --com 1 --jobs 1 --out /tmp/out >"$work/embosser.log" 2>&1 &
embosser_pid=$!
for _ in $(seq 200); do [ -L "$root/home/reader/.config/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
as_reader tenjiprint print /tmp/aiueo.NRK >/dev/null 2>&1 || fail "the packaged program could not print"
wait "$embosser_pid"
embosser_pid=
cmp "$work/host/out/job-1.bin" "$root/tmp/out/job-1.bin" || fail "the packaged print differs from the build's"
echo "identical streams: $(stat -c %s "$root/tmp/out/job-1.bin") bytes"

echo "== every window drawn offscreen"
as_reader env QT_QPA_PLATFORM=offscreen tenjiprint --screenshots /tmp/shots >/dev/null
[ "$(ls "$root/tmp/shots"/*.png | wc -l)" -eq 11 ] || fail "not every window was drawn: $(ls "$root/tmp/shots")"

echo "== the printer application: the same stream through IPP; its unit installed, not enabled"
[ -f "$root/lib/systemd/system/tenjiprint-server.service" ] || fail "no systemd unit"
[ -z "$(find "$root/etc/systemd" -name 'tenjiprint-server*' 2>/dev/null)" ] || fail "the unit was enabled"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
as_reader tenjiprint-virtual-embosser --com 1 --jobs 1 --out /tmp/server-out >"$work/embosser2.log" 2>&1 &
embosser_pid=$!
for _ in $(seq 200); do [ -L "$root/home/reader/.config/tenjiprint/dosdevices/com1" ] && break; sleep 0.05; done
as_reader tenjiprint-server server -o listen=127.0.0.1 -o server-port="$port" -o log-file=/tmp/server.log \
  >"$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 200); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && break
  sleep 0.05
done
as_reader tenjiprint-server add -d tenji -m tenjiprint -v tenjiprint:///COM1 || fail "the packaged server did not add the printer"
as_reader tenjiprint-server submit -d tenji /tmp/aiueo.NRK >/dev/null || fail "the packaged server did not take the job"
for _ in $(seq 300); do kill -0 "$embosser_pid" 2>/dev/null || break; sleep 0.1; done
embosser_pid=
as_reader tenjiprint-server shutdown >/dev/null 2>&1 || kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
cmp "$work/host/out/job-1.bin" "$root/tmp/server-out/job-1.bin" || fail "the packaged server's stream differs from the build's print"
echo "identical stream through the packaged printer application"

echo "== purge leaves nothing of the packages"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q tenjiprint tenjiprint-tools tenjiprint-server >"$work/purge.log" 2>&1 ||
  { tail -n 20 "$work/purge.log"; fail "apt could not purge"; }
left=()
while read -r f; do
  [ -e "$root$f" ] && [ ! -d "$root$f" ] && left+=("$f")
done <"$work/files.txt"
[ ${#left[@]} -eq 0 ] || fail "left after purge: ${left[*]}"
echo "installed in a fresh Debian root, used, and purged: all passed"
