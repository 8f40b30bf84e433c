#!/usr/bin/env bash
# Times the Win32 window's start-up to its painted window against a bare
# Win32 window with a menu bar and the same client area, as whole processes
# under wine on a virtual X display (Xvfb with openbox). Both programs end
# once their window has painted. The two run in turns, so that a machine
# slowing down or speeding up weighs on both alike; wine's server is kept
# running throughout, as it is on a desktop where wine is in use.
# Target: Teilomat within 1.25 times the bare window.
#
#   scripts/win32_startup_time.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/virtual_display.sh
. scripts/startup_turns.sh

runs=${1:-40}
./build.sh windows-setup
ensure_display_tools
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows
cmake --build --preset windows --target startup_win32 startup_win32_bare

bare=build/windows/bench/win32/startup_win32_bare.exe
teilomat=build/windows/bench/win32/startup_win32.exe
start_virtual_display
locale=de_DE.UTF-8  # wine only: the shell's own numbers stay C
wine_root=$PWD/build/windows/wine
LC_ALL=$locale scripts/wine_run.sh "$wine_root" --create
export WINEPREFIX=$wine_root/$locale WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wineserver -p >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; stop_virtual_display' EXIT

# Seconds one run of a program takes, from start to exit.
run_once() {
  local start=$EPOCHREALTIME
  LC_ALL=$locale wine "$1" >/dev/null 2>&1
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f", b - a }'
}

time_in_turns "$runs" 1.25 ", under wine"
