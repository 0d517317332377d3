#!/usr/bin/env bash
# Reads the import tables of the program's executables and fails when one names
# a function or a library that Windows 7 SP1 does not have: the loader would
# refuse to start the program there ("entry point not found"). Each later
# function the program uses is resolved at run time (src/framework/os_functions.cpp).
# Usage: scripts/check-imports.sh [exe...]   (default: the program's builds)
set -uo pipefail
cd "$(dirname "$0")/.."

# The one list: functions and libraries later than Windows 7 that an import
# table must not name. DLL names are compared without regard to case.
later_functions="GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi AdjustWindowRectExForDpi
  SystemParametersInfoForDpi GetDpiForMonitor GetDpiForShellUIComponent GetAwarenessFromDpiAwarenessContext
  SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
  SetProcessDpiAwarenessContext SetProcessDpiAwareness GetProcessDpiAwareness EnableNonClientDpiScaling
  GetSystemDpiForProcess AreDpiAwarenessContextsEqual IsValidDpiAwarenessContext"
later_libraries="SHCORE.dll api-ms-win-shcore-scaling-l1-1-0.dll api-ms-win-shcore-scaling-l1-1-1.dll"
# Functions every build imports: when they are missing the table was not read.
always_imported="Shell_NotifyIconW CreateWindowExW"

objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[ "$#" -gt 0 ] || set -- build/windows/Lumitrax.exe build/windows/LumitraxTestSite.exe

status=0
for exe in "$@"; do
  if [ ! -f "$exe" ]; then
    echo "check-imports: $exe is missing" >&2
    status=1
    continue
  fi
  # The names under "The Import Tables", up to the next table of the dump.
  names=$("$objdump" -p "$exe" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^The / { inside = 0 }
    inside && /DLL Name:/ { print $3; next }
    inside && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && NF >= 3 { print $3 }')
  bad=""
  for name in $always_imported; do
    printf '%s\n' "$names" | grep -qx "$name" || { echo "check-imports: $exe: no $name in what was read; the import table was not understood" >&2; status=1; }
  done
  for name in $later_functions; do
    printf '%s\n' "$names" | grep -qx "$name" && bad="$bad $name"
  done
  for name in $later_libraries; do
    printf '%s\n' "$names" | grep -qix "$name" && bad="$bad $name"
  done
  if [ -n "$bad" ]; then
    echo "check-imports: $exe imports what Windows 7 does not have:$bad" >&2
    status=1
  else
    echo "check-imports: $exe: nothing later than Windows 7 in the import table"
  fi
done
exit $status
