#!/usr/bin/env bash
# Takes the README's pictures from the real program under Wine, on the bench's
# virtual desktop: docs/settings-window.png, docs/more-settings-window.png,
# docs/on-screen-display.png and
# docs/tray-icon.png (the tray icon, enlarged six times).
# docs_pictures.exe poses the program and names each window's rectangle; this
# script photographs the desktop and cuts the window out.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside-bench" ]; then
  scripts/install-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target docs_pictures -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
  exec scripts/bench.sh --timeout 300 -- "$0" --inside-bench
fi

shots=$PWD/build/screenshots/docs
rm -rf "$shots"
mkdir -p "$shots" docs
wine build/windows/docs_pictures.exe "Z:${shots//\//\\}" &
driver=$!

for name in settings-window more-settings-window on-screen-display taskbar; do
  for _ in $(seq 600); do
    [ -f "$shots/$name.rect" ] && break
    kill -0 "$driver" 2>/dev/null || break
    sleep 0.1
  done
  [ -f "$shots/$name.rect" ] || { echo "docs-pictures: the program was not posed for $name" >&2; exit 1; }
  read -r left top right bottom < <(tr -d '\r' <"$shots/$name.rect")
  import -display "$DISPLAY" -window root "$shots/$name-screen.png"
  width=$((right - left))
  height=$((bottom - top))
  case "$name" in
    taskbar)
      # The tray icon at the taskbar's right end, enlarged six times.
      crop=26
      convert "$shots/$name-screen.png" -crop "${crop}x${height}+$((right - crop))+${top}" +repage \
        -filter point -resize 600% -strip docs/tray-icon.png ;;
    on-screen-display)
      # With a little of the desktop around it.
      margin=12
      convert "$shots/$name-screen.png" \
        -crop "$((width + 2 * margin))x$((height + 2 * margin))+$((left - margin))+$((top - margin))" +repage \
        -strip "docs/$name.png" ;;
    *)
      convert "$shots/$name-screen.png" -crop "${width}x${height}+${left}+${top}" +repage -strip "docs/$name.png" ;;
  esac
  touch "$shots/$name.done"
done
wait "$driver"
echo "Pictures saved: docs/settings-window.png docs/more-settings-window.png docs/on-screen-display.png docs/tray-icon.png"
