# Sourced by the scripted runs: a command that fails under `set -e` names
# itself, its place and its exit code before the run ends.
set -E
trap 'echo "FAIL: ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND (exit $?)" >&2' ERR
