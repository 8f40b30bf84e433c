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

runs=${1:-60}
./build.sh setup
ensure_display_tools
[ -f build/release/CMakeCache.txt ] || cmake --preset release
cmake --build --preset release --target startup_teilomat startup_bare

bare=build/release/bench/startup_bare
teilomat=build/release/bench/startup_teilomat
start_virtual_display
times=$(mktemp)
trap 'rm -f "$times"; stop_virtual_display' EXIT

# Seconds one run of a program takes, from start to exit.
run_once() {
  local start=$EPOCHREALTIME
  "$1" >/dev/null 2>&1
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f", b - a }'
}

for _ in 1 2 3 4 5; do run_once "$bare" >/dev/null; run_once "$teilomat" >/dev/null; done
for i in $(seq "$runs"); do
  if [ $((i % 2)) -eq 0 ]; then
    b=$(run_once "$bare"); t=$(run_once "$teilomat")
  else
    t=$(run_once "$teilomat"); b=$(run_once "$bare")
  fi
  echo "$b $t" >>"$times"
done

awk '
  function median(v, n,   i, j, x) {
    for (i = 2; i <= n; i++) { x = v[i]; for (j = i - 1; j >= 1 && v[j] > x; j--) v[j + 1] = v[j]; v[j + 1] = x }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  { n++; b[n] = $1; t[n] = $2; r[n] = $2 / $1; sb += $1; st += $2 }
  END {
    printf "runs: %d each, in turns\n", n
    printf "bare window:  mean %.1f ms, median %.1f ms\n", 1000 * sb / n, 1000 * median(b, n)
    printf "teilomat:     mean %.1f ms, median %.1f ms\n", 1000 * st / n, 1000 * median(t, n)
    ratio = median(r, n)
    printf "teilomat / bare: %.3f by means, %.3f as median of paired runs (target at most 1.15): %s\n",
      st / sb, ratio, ratio <= 1.15 ? "met" : "NOT met"
  }' "$times"
