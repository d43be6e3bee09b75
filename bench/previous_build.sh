# Sourced by the comparison benchmarks: `build_previous REF` builds the
# tenjiprint of commit REF in a worktree of its own (removed at exit) and
# sets $previous_tenjiprint to it.
build_previous() {
  # Earlier builds read PEF with pugixml.
  dpkg-query -W -f='${Status}' libpugixml-dev 2>/dev/null | grep -q 'install ok installed' ||
    apt-get install -y -q --no-install-recommends libpugixml-dev >/dev/null
  previous_work=$(mktemp -d /tmp/tenji-previous.XXXXXX)
  trap 'git worktree remove --force "$previous_work" >/dev/null 2>&1 || rm -rf "$previous_work"' EXIT
  git worktree add --detach "$previous_work" "$1" >/dev/null
  cmake -S "$previous_work" -B "$previous_work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTENJI_BUILD_TESTS=OFF >/dev/null
  cmake --build "$previous_work/build" --target tenjiprint >/dev/null
  previous_tenjiprint="$previous_work/build/src/app/tenjiprint"
}
