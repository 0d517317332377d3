#!/usr/bin/env bash
# Builds the program and measures every performance figure against its goal,
# from outside the process where a user would see it: wake-ups and memory of
# the Wine process from /proc, latency from another process, beside a bare
# program (a hidden window and a message loop) measured in the same run.
# Prints one table and writes it as JSON to build/benchmarks.json.
#
# Usage: scripts/benchmarks.sh [--short]
#   --short   a quick run that only shows the script works (CI); its figures
#             mean nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

short=""
seconds=30 presses=100 lock_changes=10000 show_hides=1000 compositions=10000 sets=100000
if [ "${1:-}" = "--short" ]; then
  short="--short"
  seconds=3 presses=10 lock_changes=100 show_hides=10 compositions=100 sets=1000
fi

scripts/install-deps.sh >/dev/null
scripts/build.sh all >/dev/null

out=build/bench
mkdir -p "$out"
figures="$out/figures.txt"
echo "exe_bytes $(stat -c %s build/windows/Lumitrax.exe)" >"$figures"
echo "exe_bytes_english_only $(stat -c %s build/windows/LumitraxEnglishOnly.exe)" >>"$figures"
echo "translations $(ls lang/*.lang | grep -vc '/en.lang$')" >>"$figures"

echo "== wake-ups, memory and latency under Wine (about $((seconds * 4 / 60 + 1)) minutes)"
scripts/bench.sh --timeout 1800 -- tests/bench/measure.sh build/windows "$seconds" "$presses" \
  | tee "$out/measure.txt" | grep -E '^[a-z0-9_]+ -?[0-9.]+$' >>"$figures" || true

echo "== GUI objects over lock changes, settings shows and compositions"
(cd build/windows && ../../scripts/bench.sh --timeout 3000 -- \
  wine gui_objects_bench.exe "$lock_changes" "$show_hides" "$compositions") | tr -d '\r' | tee "$out/objects.txt" || true
objects_state() { grep -q "^$1 .*: flat$" "$out/objects.txt" && echo flat || echo grows; }
if grep -q "^objects flat" "$out/objects.txt"; then
  {
    echo "objects_lock_changes $(objects_state 'lock changes')"
    echo "objects_lock_changes_count $lock_changes"
    echo "objects_show_hides $(objects_state 'settings window shows and hides')"
    echo "objects_show_hides_count $show_hides"
    echo "objects_compositions $(objects_state 'tray icon compositions')"
    echo "objects_compositions_count $compositions"
  } >>"$figures"
fi

echo "== the soak: the real program through a long day of lock changes, shows, fades, taskbars and second starts"
# Its own figures, one per line; the full soak takes about half an hour.
soak_options="--no-build"
[ -n "$short" ] && soak_options="$soak_options --short"
scripts/soak.sh $soak_options | tr -d '\r' | tee "$out/soak.txt" || true

echo "== tray icon composition, native core"
build/native/compose_bench "$sets" | tee "$out/compose.txt" \
  | sed -n 's/.* us_per_set \([0-9.]*\)$/compose_us_per_set \1/p' >>"$figures"

echo
python3 tests/bench/report.py "$figures" build/benchmarks.json $short
echo "(written to build/benchmarks.json)"
