#!/usr/bin/env bash
# The Wine bench: a throwaway Wine prefix on a private virtual display, with a
# Wine virtual desktop that has a taskbar (low-level keyboard hooks fire and
# the notification area exists only there). Runs one command inside it, can
# save a PNG screenshot of the desktop, and always cleans up.
#
# Usage: scripts/bench.sh [--screenshot FILE] [--shot-after SECONDS] [--timeout SECONDS] -- COMMAND [ARGS...]
#   COMMAND runs with WINEPREFIX, DISPLAY, WINEDEBUG and WINEDLLOVERRIDES set,
#   so "wine prog.exe" or "ctest" work as they are.
#   --screenshot FILE    save the desktop as FILE: after --shot-after seconds
#                        (the command keeps running), or when the command ends.
#   --timeout SECONDS    stop the command after this long (default 1800).
#   --keep-display       use the current DISPLAY instead of a private Xvfb.
#   --dpi N              the screen's DPI inside the prefix (default 96).
#   --size WxH           the size of the display and the Wine desktop (default 1024x768).
set -euo pipefail

screenshot=""
shot_after=""
timeout_s=1800
keep_display=0
dpi=""
size=1024x768
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) screenshot=$(realpath -m "$2"); shift 2 ;;
    --shot-after) shot_after="$2"; shift 2 ;;
    --timeout) timeout_s="$2"; shift 2 ;;
    --keep-display) keep_display=1; shift ;;
    --dpi) dpi="$2"; shift 2 ;;
    --size) size="$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "bench: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [options] -- COMMAND [ARGS...]" >&2; exit 2; }

bench_dir=$(mktemp -d /tmp/lumitrax-bench.XXXXXX)
export WINEPREFIX="$bench_dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
xvfb_pid=""
shot_pid=""

cleanup() {
  local status=$?
  [ -n "$shot_pid" ] && kill "$shot_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$bench_dir"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ $keep_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and writes it to the pipe, so
  # benches started at the same moment never share a display.
  exec {displayfd}<> <(:)
  Xvfb -displayfd "$displayfd" -screen 0 "${size}x24" -nolisten tcp >"$bench_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  display=""
  read -r -t 20 -u "$displayfd" display || true
  exec {displayfd}<&-
  [ -n "$display" ] || { echo "bench: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdpyinfo >/dev/null 2>&1 || { echo "bench: Xvfb did not start" >&2; exit 1; }
fi

# A fresh prefix whose default desktop is a virtual one with a taskbar. On a
# loaded machine a first start of Wine can fail; the prefix is made anew once,
# and a failure that stays is reported, never passed over in silence.
make_prefix() {
  rm -rf "$WINEPREFIX"
  wineboot -i >"$bench_dir/wineboot.log" 2>&1 || return 1
  # Wine's own Marlett (Debian's fonts-wine) draws the title bar's buttons;
  # without it the close button shows as the letter "r".
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  fi
  # Windows links its UI font to fonts of the scripts it lacks (the
  # SystemLink list); here the UI font takes its Chinese, Japanese and Korean
  # glyphs from WenQuanYi Micro Hei (Debian's fonts-wqy-microhei).
  if [ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ]; then
    cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
    for face in Tahoma "Microsoft Sans Serif" "Segoe UI"; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >>"$bench_dir/wineboot.log" 2>&1 || return 1
    done
  fi
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >>"$bench_dir/wineboot.log" 2>&1 || return 1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$size" /f >>"$bench_dir/wineboot.log" 2>&1 || return 1
  if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >>"$bench_dir/wineboot.log" 2>&1 || return 1
  fi
}
if ! make_prefix; then
  echo "bench: the Wine prefix could not be made; trying once more" >&2
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if ! make_prefix; then
    echo "bench: the Wine prefix could not be made:" >&2
    tail -n 20 "$bench_dir/wineboot.log" >&2
    exit 1
  fi
fi
# The desktop settings are read when the desktop starts: restart the prefix.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

take_screenshot() {
  mkdir -p "$(dirname "$screenshot")"
  import -display "$DISPLAY" -window root "$screenshot" && echo "bench: screenshot saved to $screenshot"
}

if [ -n "$screenshot" ] && [ -n "$shot_after" ]; then
  (sleep "$shot_after"; take_screenshot) &
  shot_pid=$!
fi

set +e
timeout --kill-after=10 "$timeout_s" "$@"
status=$?
set -e
if [ -n "$shot_pid" ]; then
  wait "$shot_pid" 2>/dev/null || true
  shot_pid=""
elif [ -n "$screenshot" ]; then
  take_screenshot
fi
[ $status -eq 124 ] && echo "bench: the command timed out after ${timeout_s}s" >&2
exit $status
