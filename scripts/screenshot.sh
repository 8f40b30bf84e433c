#!/usr/bin/env bash
# Takes docs/screenshot.png: the release build of the window on a virtual X
# display (Xvfb) at 96 dpi under the openbox window manager, cropped to the
# window with its frame. Run as root it installs what is missing through
# apt-get; otherwise it prints the apt-get line.
set -euo pipefail
cd "$(dirname "$0")/.."

./build.sh setup
tools=(xvfb openbox imagemagick x11-utils)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${db:Status-Status}\n' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ -f build/release/CMakeCache.txt ] || cmake --preset release
cmake --build --preset release --target teilomat

# A free display number.
n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
export DISPLAY=":$n"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 800x600x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
build/release/window/teilomat >/dev/null 2>&1 &
pids+=($!)

title="PLL mit TSA6057"
id=
for _ in $(seq 100); do
  id=$(xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }
sleep 1  # let the window manager frame it and the window paint

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
import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip docs/screenshot.png
echo "docs/screenshot.png: ${w}x${h}"
