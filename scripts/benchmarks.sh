#!/usr/bin/env bash
# Builds the Windows program and prints the benchmark figures measured under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh windows >/dev/null
scripts/bench.sh --timeout 600 -- wine build/windows/lock_latency_bench.exe "${1:-100}"
scripts/bench.sh --timeout 900 -- wine build/windows/icon_handles_bench.exe 10000
