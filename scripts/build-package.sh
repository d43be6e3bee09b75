#!/usr/bin/env bash
# Builds the Debian packages from the source tree's files (tracked, or new
# and not ignored) in a copy under OUT_DIR, as `dpkg-buildpackage -us -uc -b`
# would in a checkout, then checks them with lintian and the desktop and
# AppStream validators.
#   usage: build-package.sh [OUT_DIR]   (default build/package)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/package}")

# One version: CMake's project(), which --version and the version dialog
# give, is the package's, the AppStream release's and the manual pages'.
version=$(sed -n 's/^project(tenjiprint VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(dpkg-parsechangelog -S Version)" = "$version" ] ||
  { echo "debian/changelog is at $(dpkg-parsechangelog -S Version), CMake at $version"; exit 1; }
grep -q "<release version=\"$version\"" packaging/linux/*.metainfo.xml ||
  { echo "the AppStream metadata has no release $version"; exit 1; }
for page in packaging/linux/man/*.1 packaging/linux/man/ja/*.1; do
  grep -q "^\.TH .*\"tenjiprint $version\"" "$page" || { echo "$page is not of version $version"; exit 1; }
done

rm -rf "$out"
mkdir -p "$out/tenjiprint"
git ls-files -co --exclude-standard -z | tar --null -T - -cf - | tar -xf - -C "$out/tenjiprint"
# PAPPL's sources (fetched by scripts/install-deps.sh) go into the package's
# sources, which then build without a network.
cp /usr/local/src/pappl_1.3.1.orig.tar.gz "$out/tenjiprint/third_party/pappl/"
(cd "$out/tenjiprint" && dpkg-buildpackage -us -uc -b >"$out/build.log" 2>&1) ||
  { tail -n 40 "$out/build.log"; echo "the package did not build (whole log: $out/build.log)"; exit 1; }
ls -l "$out"/*.deb

echo "== lintian"
lintian --fail-on error,warning --display-info "$out"/*.changes | tee "$out/lintian.txt"
echo "== desktop-file-validate, appstreamcli validate"
desktop-file-validate packaging/linux/io.github.tenjiprint.tenjiprint.desktop
appstreamcli validate --no-net packaging/linux/io.github.tenjiprint.tenjiprint.metainfo.xml
