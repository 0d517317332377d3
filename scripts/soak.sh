#!/usr/bin/env bash
# The soak: the real Lumitrax.exe under Wine, driven from another process
# through 10,000 lock changes, 1,000 settings-window show/hide, 1,000 display
# show/fade, 100 "TaskbarCreated" and 100 hand-overs from a second start (the
# full run takes about half an hour; --short takes under a minute). Prints one
# "figure<TAB>value" line per figure on its standard output. Fails only when
# the program stopped answering or could not be started; the figures are for
# reading, not judged.
#
# Usage: scripts/soak.sh [--short] [--no-build] [--locks=N] [--settings=N]
#                        [--displays=N] [--taskbar=N] [--handovers=N]
set -euo pipefail
cd "$(dirname "$0")/.."

build=1
args=()
for arg in "$@"; do
  case "$arg" in
    --no-build) build=0 ;;
    --short|--locks=*|--settings=*|--displays=*|--taskbar=*|--handovers=*) args+=("$arg") ;;
    *) echo "soak: unknown option $arg" >&2; exit 2 ;;
  esac
done

if [ $build -eq 1 ]; then
  scripts/install-deps.sh >&2
  scripts/build.sh windows >/dev/null
fi
cd build/windows
exec ../../scripts/bench.sh --timeout 5400 -- wine soak_bench.exe "${args[@]}"
