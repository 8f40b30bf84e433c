#!/usr/bin/env bash
# Times the page's start-up in headless Chromium against a static copy of it
# (the same markup, no script): from navigation to the first frame painted
# with the default results, measured alike in both by a probe that runs
# before any of the page's scripts; and to the page's handlers being ready
# ("Berechnen" answers). The two load in turns, so that a machine slowing
# down or speeding up during the measurement weighs on both alike. Then the
# time of one press of "Berechnen" in the page.
# Targets: the results painted within 1.2 times the static copy's paint, the
# handlers ready within 1.5 times it; "Berechnen" under 1 ms.
#
#   scripts/web_startup_time.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/startup_turns.sh

runs=${1:-21}
./build.sh web-setup
[ -f build/web/CMakeCache.txt ] || cmake --preset web
cmake --build --preset web --target teilomat_page

page=build/web/teilomat.html
times=$(mktemp)
pairs=$(mktemp)
trap 'rm -f "$times" "$pairs"' EXIT
/usr/bin/python3 bench/web/page_timing.py startup "$page" "$runs" >"$times"
echo "Results painted:"
awk '{ print $1, $2 }' "$times" >"$pairs"
report_turns "$pairs" 1.2 ", headless Chromium" "static page"
echo "Handlers ready (against the static page's paint):"
awk '{ print $1, $3 }' "$times" >"$pairs"
report_turns "$pairs" 1.5 ", headless Chromium" "static page"
/usr/bin/python3 bench/web/page_timing.py berechnen "$page"
ls -l "$page" | awk '{ printf "teilomat.html: %d bytes", $5 }'
gzip -9c "$page" | wc -c | awk '{ printf ", %d gzip-compressed\n", $1 }'
