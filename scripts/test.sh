#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test: the native
# core tests, then the Windows tests (in-process and end to end) under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
# Wine takes the user's display language from the locale, and the program
# follows it: the tests speak of the English texts unless a run sets its own.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

scripts/install-deps.sh || exit 1
scripts/build.sh all || exit 1

mkdir -p build/logs
status=0
echo "== import tables: nothing later than Windows 7"
scripts/check-imports.sh 2>&1 | tee build/logs/imports.log
if [ "${PIPESTATUS[0]}" -ne 0 ]; then status=1; failed_imports=1; else failed_imports=0; fi

echo "== native tests"
ctest --preset native 2>&1 | tee build/logs/native-tests.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

# --- The core under AddressSanitizer and UndefinedBehaviorSanitizer ----------
# The whole core test suite, generated input included, built once more with both
# sanitizers (preset native-sanitize); any report ends its test with a failure.
echo "== core tests under the sanitizers"
sanitize_werror=OFF
[ "${CI:-}" = "true" ] && sanitize_werror=ON
{
  cmake --preset native-sanitize -DLUMITRAX_WERROR=$sanitize_werror >/dev/null &&
    cmake --build --preset native-sanitize -j "$(nproc 2>/dev/null || echo 2)" &&
    ctest --preset native-sanitize
} 2>&1 | tee build/logs/sanitize-tests.log
[ "${PIPESTATUS[0]}" -eq 0 ] || { status=1; echo "core tests under the sanitizers FAILED"; }
# ------------------------------------------------------------------------------

echo "== Windows tests under Wine"
rm -rf build/windows/test-results
scripts/bench.sh --timeout 3000 --screenshot build/screenshots/after-tests.png -- \
  ctest --preset windows 2>&1 | tee build/logs/windows-tests.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

# Runs some of the in-process tests at one scale: DPI, report name, filter, title.
scaled_reports=""
run_at_dpi() {
  echo "== $4 at $1 dpi under Wine"
  (cd build/windows && ../../scripts/bench.sh --dpi "$1" --size 1280x1024 --timeout 600 -- \
    wine win_tests.exe --gtest_brief=1 --gtest_filter="$3" \
    --gtest_output=xml:test-results/$2.xml) 2>&1 | tee build/logs/windows-$2.log
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  scaled_reports="$scaled_reports $2"
}

run_at_dpi 144 win_tests_144dpi 'SettingsWindow.*:Languages.*:MoreSettings.*' "The settings windows in every language"

# The About dialog and the text-fit check at the other scales (96 dpi runs above).
for dpi in 120 144 192; do
  run_at_dpi "$dpi" "win_tests_about_${dpi}dpi" 'AboutDialog.*:TextFit.*' "The About dialog"
done

# The program at every scale it is made for (96 dpi is the main run above):
# the tray's image size, the settings window and the display laid out again on
# a DPI change, every text of the settings window whole.
for dpi in 120 144 192; do
  run_at_dpi "$dpi" "win_tests_scale_${dpi}dpi" 'DpiScaling.*:TrayIconTest.*:MainWindow.*:OsFunctions.*' \
    "The tray icon, the settings window and the display"
done

# A short soak of the real program (figures for reading, not judged): it
# fails only when the program stops answering or cannot be started.
echo "== A short soak of the program under Wine"
scripts/soak.sh --no-build --short 2>&1 | tee build/logs/soak-short.log
soak_status=${PIPESTATUS[0]}
[ "$soak_status" -eq 0 ] || status=1

# One closing line over both runs: the native tests from ctest's summary, the
# Windows tests from the GoogleTest reports of each test program.
passed=0
failed=0
line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" build/logs/native-tests.log | tail -n 1)
if [ -n "$line" ]; then
  f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  t=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/')
  passed=$((passed + t - f))
  failed=$((failed + f))
else
  failed=$((failed + 1))
fi
for program in win_tests e2e_tests $scaled_reports; do
  report="build/windows/test-results/$program.xml"
  if [ ! -f "$report" ]; then
    echo "$program left no report: it did not run to its end"
    failed=$((failed + 1))
    status=1
    continue
  fi
  head=$(grep -m1 -o '<testsuites [^>]*' "$report")
  t=$(echo "$head" | sed -E 's/.* tests="([0-9]+)".*/\1/')
  f=$(echo "$head" | sed -E 's/.* failures="([0-9]+)".*/\1/')
  e=$(echo "$head" | sed -E 's/.* errors="([0-9]+)".*/\1/')
  d=$(echo "$head" | sed -E 's/.* disabled="([0-9]+)".*/\1/')
  passed=$((passed + t - f - e - d))
  failed=$((failed + f + e))
done
[ "$failed_imports" -eq 0 ] || { echo "the import-table check failed (build/logs/imports.log)"; failed=$((failed + 1)); }
[ "$soak_status" -eq 0 ] || { echo "the short soak failed: the program did not start or stopped answering (build/logs/soak-short.log)"; failed=$((failed + 1)); }

# --- Release files: scripts/package.sh, the installer under Wine, signing ---
echo "== Release files: package, install, upgrade, uninstall, sign"
scripts/test-package.sh 2>&1 | tee build/logs/package-tests.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
report=build/windows/test-results/install_tests.xml
if [ -f "$report" ]; then
  head=$(grep -m1 -o '<testsuites [^>]*' "$report")
  t=$(echo "$head" | sed -E 's/.* tests="([0-9]+)".*/\1/')
  f=$(echo "$head" | sed -E 's/.* failures="([0-9]+)".*/\1/')
  passed=$((passed + t - f))
  failed=$((failed + f))
else
  echo "install_tests left no report: it did not run to its end"
  failed=$((failed + 1))
  status=1
fi
# --- end of the release files ---

echo
echo "$passed passed, $failed failed"
exit $status
