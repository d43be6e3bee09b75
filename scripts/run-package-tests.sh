#!/usr/bin/env bash
# The Debian packages: built with dpkg-buildpackage, checked with lintian and
# the desktop and AppStream validators, then installed, used and purged in a
# fresh Debian root. Needs the default preset's build for the comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tenjiprint virtual-embosser make-nrk
bash scripts/build-package.sh build/package
bash tests/package/install_in_fresh_debian.sh build/default build/package
