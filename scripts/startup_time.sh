#!/usr/bin/env bash
# Times Teilomat's start-up to its first painted window against a bare Qt
# window of the same size with a menu bar, as whole processes, on a virtual X
# display (Xvfb with openbox). Both programs quit right after their first
# paint. The two run in turns, so that a machine slowing down or speeding up
# during the measurement weighs on both alike.
# Target: Teilomat within 1.15 times the bare window.
#
#   scripts/startup_time.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/virtual_display.sh
. scripts/startup_turns.sh

runs=${1:-60}
./build.sh setup
ensure_display_tools
[ -f build/release/CMakeCache.txt ] || cmake --preset release
cmake --build --preset release --target startup_teilomat startup_bare

bare=build/release/bench/startup_bare
teilomat=build/release/bench/startup_teilomat
start_virtual_display
trap stop_virtual_display EXIT

# Seconds one run of a program takes, from start to exit.
run_once() {
  local start=$EPOCHREALTIME
  "$1" >/dev/null 2>&1
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f", b - a }'
}

time_in_turns "$runs" 1.15
