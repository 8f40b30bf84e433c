#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: teilomat.exe (the Win32 window, from the
# windows preset) under wine on a virtual X display (Xvfb at 96 dpi, openbox),
# with a German locale, cropped to the window with its frame. Run as root it
# installs what is missing through apt-get; otherwise it prints the apt-get
# line.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/virtual_display.sh

./build.sh windows-setup
ensure_display_tools imagemagick
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows
cmake --build --preset windows --target teilomat

start_virtual_display
export LC_ALL=de_DE.UTF-8  # as a German user sees it: decimal commas
scripts/wine_run.sh build/windows/wine build/windows/window/win32/teilomat.exe >/dev/null 2>&1 &
display_pids=($! "${display_pids[@]}")

title="PLL mit TSA6057"
id=
for _ in $(seq 200); do
  id=$(xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "win32_screenshot: the window did not appear" >&2; exit 1; }
sleep 2  # let the window manager frame it and the window paint

# The outermost window below the root is the window manager's frame.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
frame=$id
while :; do
  parent=$(xwininfo -children -id "$frame" | awk '/Parent window id:/ {print $4}')
  [ "$parent" = "$root" ] && break
  frame=$parent
done
read -r x y w h < <(xwininfo -id "$frame" | awk '
  /Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
  /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')

mkdir -p docs
import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip docs/screenshot-windows.png
echo "docs/screenshot-windows.png: ${w}x${h}"
# Ends wine's processes for this prefix before the display goes away.
WINEPREFIX=$PWD/build/windows/wine/$LC_ALL wineserver -k 2>/dev/null || true
