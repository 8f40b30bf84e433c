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

capture_window "PLL mit TSA6057" docs/screenshot-windows.png 2
# Ends wine's processes for this prefix before the display goes away.
WINEPREFIX=$PWD/build/windows/wine/$LC_ALL wineserver -k 2>/dev/null || true
