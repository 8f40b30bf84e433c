#!/usr/bin/env bash
# Takes docs/screenshot.png: the release build of the window on a virtual X
# display (Xvfb) at 96 dpi under the openbox window manager, cropped to the
# window with its frame. Run as root it installs what is missing through
# apt-get; otherwise it prints the apt-get line.
#
#   scripts/screenshot.sh        the default (light) colours: docs/screenshot.png
#   scripts/screenshot.sh dark   GTK's dark Adwaita scheme: docs/screenshot-dark.png
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/virtual_display.sh

./build.sh setup
scheme=${1:-light}
out=docs/screenshot.png
theme=()
if [ "$scheme" = dark ]; then
  ensure_display_tools imagemagick qt6-gtk-platformtheme
  out=docs/screenshot-dark.png
  theme=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark)
else
  ensure_display_tools imagemagick
fi
[ -f build/release/CMakeCache.txt ] || cmake --preset release
cmake --build --preset release --target teilomat

start_virtual_display
# As a German user sees it: decimal commas.
env LC_ALL=de_DE.UTF-8 "${theme[@]}" build/release/window/qt/teilomat >/dev/null 2>&1 &
display_pids=($! "${display_pids[@]}")

capture_window "PLL mit TSA6057" "$out" 1
