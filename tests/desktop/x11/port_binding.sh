#!/usr/bin/env bash
# A USB adapter bound to ｃｏｍ３ with the keyboard alone, then a print
# through it. The machine's udev is umockdev's, with one FTDI adapter; its
# device and its by-id name lead to the virtual embosser's pseudo-terminal.
# The by-id link is made in the real /dev, because the kernel, not the
# program, follows the COM link to it: the run needs root.
# usage: port_binding.sh [BUILD_DIR]   (from the source folder)
set -euo pipefail
BUILD_DIR=${1:-build/default}
source "$(dirname "$0")/lib.sh"
samples=$(realpath samples)
if [ "$(id -u)" -ne 0 ]; then
  echo "port binding: skipped, it makes a link in /dev and needs root"
  exit 0
fi

adapter="usb-FTDI_FT232R_USB_UART_TENJI$$-if00-port0"
by_id="/dev/serial/by-id/$adapter"
[ ! -e "$by_id" ] || fail "$by_id is there already"
made_by_id_dir=
[ -d /dev/serial/by-id ] || made_by_id_dir=yes
remove_by_id() {
  rm -f "$by_id"
  [ -z "$made_by_id_dir" ] || rmdir /dev/serial/by-id /dev/serial 2>/dev/null || true
}
trap 'remove_by_id; cleanup' EXIT

start_display
start_embosser 2
pts=$(readlink "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com1")
mkdir -p /dev/serial/by-id
ln -s "$pts" "$by_id"

cat >"$work/machine.umockdev" <<TREE
P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0
E: SUBSYSTEM=usb-serial
E: DRIVER=ftdi_sio

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0
N: ttyUSB0
E: DEVNAME=/dev/ttyUSB0
E: SUBSYSTEM=tty
E: ID_BUS=usb
E: ID_VENDOR=FTDI
E: ID_MODEL=FT232R_USB_UART
E: ID_SERIAL_SHORT=TENJI$$
E: DEVLINKS=$by_id
A: dev=188:0
TREE

# Job 1: the command line's stream through COM1, to compare with.
"$build/src/app/tenjiprint" --settings "$settings" print "$samples/aiueo.NRK" >/dev/null 2>&1

start_desktop umockdev-run -d "$work/machine.umockdev" --

echo "== Alt+K, Tab Tab to the port list, ｃｏｍ３, Alt+D, Enter, Alt+O"
keys alt+k
wait_window "周辺機器設定" >/dev/null
keys Tab Tab Down Down
keys alt+d
wait_window "装置の割り当て" >/dev/null
keys Return
wait_window_gone "装置の割り当て"
keys alt+o
wait_window_gone "周辺機器設定"
link=$(readlink "$XDG_CONFIG_HOME/tenjiprint/dosdevices/com3" || true)
[ "$link" = "$by_id" ] || fail "com3 leads to '$link', not the adapter's by-id name"
grep -q '^COM_PORT=2' "$settings" || fail "the settings do not name ｃｏｍ３: $(grep COM_PORT "$settings")"
"$build/src/app/tenjiprint" --settings "$settings" ports | grep -qF "* COM3   " ||
  fail "ports does not mark COM3: $("$build/src/app/tenjiprint" --settings "$settings" ports)"
echo "ｃｏｍ３ is $link"

echo "== Alt+P, a sample, Enter: printed through ｃｏｍ３"
to_main
keys alt+p
wait_window "開く" >/dev/null
type_text "$samples/aiueo.NRK"
keys Return
wait_window "印刷" >/dev/null
keys Return
wait_embosser_done
cmp "$work/out/job-1.bin" "$work/out/job-2.bin" || fail "the print through ｃｏｍ３ differs from the command line's"
echo "print through ｃｏｍ３: $(stat -c %s "$work/out/job-2.bin") bytes, as the command line's"

quit_desktop
echo "port binding: passed"
