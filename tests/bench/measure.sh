#!/usr/bin/env bash
# Runs inside scripts/bench.sh (a fresh Wine prefix on a private display) and
# measures the program from outside its process, as the machine sees it:
# wake-ups are the context switches of the Wine process's threads (from
# /proc), memory is its anonymous resident set, latency is taken by the probe,
# another Windows process. Prints "key value" lines for scripts/benchmarks.sh.
#
# Usage: measure.sh BUILD_DIR SECONDS PRESSES
set -euo pipefail
build=$1
seconds=$2
presses=$3
# Wine's console ends lines with CR LF.
probe() { wine "$build/lumitrax_probe.exe" "$@" | tr -d '\r'; }

# The Linux process of a Windows program started in this bench's prefix.
unix_pid() {
  local name=$1 p
  for _ in $(seq 200); do
    for p in /proc/[0-9]*; do
      local exe
      exe=$(tr '\0' '\n' <"$p/cmdline" 2>/dev/null | head -n 1) || continue
      case "$exe" in *"$name") ;; *) continue ;; esac
      tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
      echo "${p#/proc/}"
      return 0
    done
    sleep 0.1
  done
  echo "measure: $name did not start" >&2
  return 1
}

# Wake-ups per second over the measuring time: the voluntary and involuntary
# context switches of every thread of the process. Threads come and go (Wine's
# and WinINet's helpers), so each thread is followed on its own twice a
# second: one that ends keeps what it had, one that starts counts from zero.
wakeups() {
  local pid=$1 t tid n total=0
  local -A first=() last=()
  local initial=1
  for _ in $(seq $((seconds * 2 + 1))); do
    for t in /proc/"$pid"/task/*; do
      tid=${t##*/}
      n=$(awk '/ctxt_switches/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null) || continue
      if [ -z "${first[$tid]+set}" ]; then
        if [ $initial -eq 1 ]; then first[$tid]=$n; else first[$tid]=0; fi
      fi
      last[$tid]=$n
    done
    initial=0
    sleep 0.5
  done
  for tid in "${!last[@]}"; do total=$((total + last[$tid] - first[$tid])); done
  awk -v n="$total" -v s="$seconds" 'BEGIN { printf "%.2f\n", n / s }'
}

anon_kb() { awk '/^RssAnon:/ { print $2 }' /proc/"$1"/status; }

# The bare program: a hidden window and its message loop.
wine "$build/bare_bench.exe" &
bare=$(unix_pid bare_bench.exe)
sleep 3
echo "bare_wakeups_per_s $(wakeups "$bare")"
echo "bare_anon_kb $(anon_kb "$bare")"
kill "$bare" 2>/dev/null || true
sleep 1

# The same with only a 1300 ms timer that reads the keys, as the lock guard does.
wine "$build/bare_bench.exe" guard &
bare=$(unix_pid bare_bench.exe)
sleep 3
echo "guard_only_wakeups_per_s $(wakeups "$bare")"
kill "$bare" 2>/dev/null || true
sleep 1

# The program's first start opens its settings window; it is closed to the
# tray with the pointer elsewhere, and the program left alone.
wine "$build/Lumitrax.exe" &
program=$(unix_pid Lumitrax.exe)
probe wait-window TfrmMain
probe point-away
probe close TfrmMain
sleep 3
echo "idle_wakeups_per_s $(wakeups "$program")"
echo "anon_kb $(anon_kb "$program")"

# Shown again (a second start hands over to the running one), closed under a
# resting pointer on a check box: no mouse tracking may outlive the window.
wine "$build/Lumitrax.exe"
probe wait-window TfrmMain
probe point-at TfrmMain "Show &marks"
probe close TfrmMain
sleep 2
echo "hidden_under_pointer_wakeups_per_s $(wakeups "$program")"
probe point-away

# A Caps Lock press from another process until the display shows or hides.
probe latency "$presses" | tee >(cat >&2) | sed -n 's/^presses .* median_ms \([0-9.]*\) p95_ms \([0-9.]*\) .*/latency_median_ms \1\nlatency_p95_ms \2/p'
kill "$program" 2>/dev/null || true
sleep 1

# An ordinary key from another process to that process's own window, with the
# program at rest and then while its usage ping hangs on a server that accepts
# and never answers: the same program built with the local test site, freshly
# started (its first ping is still due), on the port it was built for.
port=$(sed -n 's/^LUMITRAX_TEST_SITE_PORT:STRING=//p' "$build/CMakeCache.txt")
wine "$build/LumitraxTestSite.exe" &
program=$(unix_pid LumitraxTestSite.exe)
sleep 3
probe key-latency "$presses" "$port" | tee >(cat >&2) | sed -n \
  -e 's/^idle_key .* median_ms \([0-9.]*\) worst_ms \([0-9.]*\)$/key_idle_median_ms \1\nkey_idle_worst_ms \2/p' \
  -e 's/^hang_key .* median_ms \([0-9.]*\) worst_ms \([0-9.]*\)$/key_hang_median_ms \1\nkey_hang_worst_ms \2/p' \
  -e 's/^hang_key_within_ping \([01]\).*/key_hang_within_ping \1/p'
kill "$program" 2>/dev/null || true
