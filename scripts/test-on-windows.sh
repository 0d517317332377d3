#!/usr/bin/env bash
# Builds Lumitrax.exe, win_tests.exe and e2e_tests.exe on Windows itself and
# runs both test programs on the real desktop, without Wine. Run it in MSYS2's
# MINGW64 shell from the source folder. The tests press lock keys, show the
# tray icon and windows, and remove Lumitrax's settings and Run entry of the
# user who runs them: use a test account or a virtual machine.
#
# Usage: scripts/test-on-windows.sh [--deps] [GTEST_FILTER]
#   --deps   installs the MSYS2 packages first (pacman)
set -euo pipefail
cd "$(dirname "$0")/.."

case "$(uname -s)" in
  MINGW64*) ;;
  *) echo "test-on-windows: run this in MSYS2's MINGW64 shell on Windows" >&2; exit 2 ;;
esac
if [ "${1:-}" = "--deps" ]; then
  shift
  pacman -S --needed --noconfirm mingw-w64-x86_64-gcc mingw-w64-x86_64-cmake mingw-w64-x86_64-ninja \
    mingw-w64-x86_64-python mingw-w64-x86_64-gtest
fi
filter=${1:-*}

cmake --preset windows-msys2
cmake --build --preset windows-msys2 --target Lumitrax LumitraxTestSite win_tests e2e_tests

cd build/windows-msys2
status=0
./win_tests.exe --gtest_brief=1 --gtest_filter="$filter" || status=1
./e2e_tests.exe --gtest_brief=1 --gtest_filter="$filter" || status=1
exit $status
