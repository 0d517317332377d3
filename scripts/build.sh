#!/usr/bin/env bash
# Builds the native core and tests, the Windows program and its tests, or both.
# Usage: scripts/build.sh [native|windows|all]
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
jobs=$(nproc 2>/dev/null || echo 2)

build() {
  cmake --preset "$1" -DLUMITRAX_WERROR=$werror >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}

case "${1:-all}" in
  native) build native ;;
  windows) build windows ;;
  all) build native && build windows ;;
  *) echo "usage: $0 [native|windows|all]" >&2; exit 2 ;;
esac
