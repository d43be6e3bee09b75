#!/usr/bin/env bash
# Installs every system package the project needs to build, test, fuzz and
# benchmark. Safe to run again: when everything is there it only checks.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config curl ca-certificates
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libexpat1-dev zlib1g-dev
  fonts-ipafont-gothic fonts-dejavu-core qt6-translations-l10n
  xvfb xauth x11-utils x11-apps openbox xdotool dbus at-spi2-core python3-pyatspi
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64 nsis locales
  stress-ng libudev-dev umockdev
  debhelper lintian mmdebstrap desktop-file-utils appstream
  libcups2-dev libavahi-client-dev libssl-dev libjpeg-dev libpng-dev libusb-1.0-0-dev libpam0g-dev
  cups-ipp-utils cups-daemon cups-client chromium chromium-driver python3-selenium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine speaks Japanese, and names its windows to X, in a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$'; then
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
  locale -a | grep -qi '^ja_JP.utf-\?8$' || { echo "install-deps: the ja_JP.UTF-8 locale was not made" >&2; exit 1; }
fi

# expat's sources from Debian's archive, for the Windows cross builds.
expat_src=/usr/local/src/libexpat-R_2_5_0/expat
if [ ! -f "$expat_src/lib/xmlparse.c" ]; then
  tarball=$(mktemp)
  curl -fsSL -o "$tarball" http://deb.debian.org/debian/pool/main/e/expat/expat_2.5.0.orig.tar.gz
  echo "ab00ee05c7067fd10a35c5d2a4922ebba746ddd50ff83b79c828da17bbdf1757  $tarball" | sha256sum -c --quiet
  $SUDO mkdir -p /usr/local/src
  $SUDO tar -xzf "$tarball" -C /usr/local/src libexpat-R_2_5_0/expat
  rm -f "$tarball"
fi

# zlib's sources from Debian's archive, for the Windows cross builds.
zlib_src=/usr/local/src/zlib-1.2.13.dfsg
if [ ! -f "$zlib_src/deflate.c" ]; then
  tarball=$(mktemp)
  curl -fsSL -o "$tarball" http://deb.debian.org/debian/pool/main/z/zlib/zlib_1.2.13.dfsg.orig.tar.bz2
  echo "71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1  $tarball" | sha256sum -c --quiet
  $SUDO mkdir -p /usr/local/src
  $SUDO tar -xjf "$tarball" -C /usr/local/src zlib-1.2.13.dfsg
  rm -f "$tarball"
fi

# PAPPL's sources from Debian's archive, for the printer application: it is
# built with the project's own changes (third_party/pappl/patches).
pappl_tarball=/usr/local/src/pappl_1.3.1.orig.tar.gz
if [ ! -f "$pappl_tarball" ]; then
  tarball=$(mktemp)
  curl -fsSL -o "$tarball" http://deb.debian.org/debian/pool/main/p/pappl/pappl_1.3.1.orig.tar.gz
  echo "890fd12aca8e2b2a45d5a89ba5fc74b9ad8d3eeef39d31c6bbf9c563c311223a  $tarball" | sha256sum -c --quiet
  $SUDO mkdir -p /usr/local/src
  $SUDO install -m 644 "$tarball" "$pappl_tarball"
  rm -f "$tarball"
fi

# axe-core from npm, run inside headless Chromium on the printer
# application's settings page.
axe=/usr/local/lib/tenjiprint-test/node_modules/axe-core/axe.min.js
axe_sum=b511cd9dec01c76f4b2ad1723b66b6db37d4c2eb4ed199076e1829d9ee7b75e3
if ! echo "$axe_sum  $axe" | sha256sum -c --quiet 2>/dev/null; then
  $SUDO mkdir -p /usr/local/lib/tenjiprint-test
  $SUDO npm install --no-audit --no-fund --prefix /usr/local/lib/tenjiprint-test axe-core@4.10.2 >/dev/null
  echo "$axe_sum  $axe" | sha256sum -c --quiet
fi
