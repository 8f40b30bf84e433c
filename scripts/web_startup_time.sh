#!/usr/bin/env bash
# Times the page's start-up in headless Chromium: from navigation to the
# default results on screen, against a static copy of the page (the same
# layout with the default numbers written in and no script) to its first
# paint. The two load in turns, so that a machine slowing down or speeding up
# during the measurement weighs on both alike. Then the time of one press of
# "Berechnen" in the page.
# Targets: the page within 1.5 times the static copy; "Berechnen" under 1 ms.
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
trap 'rm -f "$times"' EXIT
/usr/bin/python3 bench/web/page_timing.py startup "$page" "$runs" >"$times"
report_turns "$times" 1.5 ", headless Chromium" "static page"
/usr/bin/python3 bench/web/page_timing.py berechnen "$page"
ls -l "$page" | awk '{ printf "teilomat.html: %d bytes", $5 }'
gzip -9c "$page" | wc -c | awk '{ printf ", %d gzip-compressed\n", $1 }'
