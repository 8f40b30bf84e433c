#!/usr/bin/env bash
# Times teilomat-cli's table as whole processes: the full 17-bit table at
# 1 kHz (RX 0 to 131.071 MHz at ZF 0, 131072 rows) as CSV to /dev/null, and
# the peak memory of that table and of a 1000-row one.
#
#   bench/cli_table.sh            builds the release preset first
#   bench/cli_table.sh PROGRAM    times the given teilomat-cli
#
# Targets: at most 50 ms for the full table, at most 8 MiB peak memory, the
# same peak for both sizes. Exits 1 if one is missed. Needs hyperfine and GNU
# time (Debian packages hyperfine and time).
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-}
if [ -z "$program" ]; then
  [ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
  cmake --build --preset release --target teilomat-cli >/dev/null
  program=build/release/cli/teilomat-cli
fi

full=(table --from 0 --to 131.071 --zf 0 --raster 1 --format csv)
small=(table --from 0 --to 0.999 --zf 0 --raster 1 --format csv)

rows=$("$program" "${full[@]}" | tail -n +2 | wc -l)
echo "rows in the full table: $rows"

json=$(mktemp)
trap 'rm -f "$json"' EXIT
hyperfine --shell=none --warmup 5 --runs 50 --style basic --export-json "$json" \
  "$program ${full[*]}" "$program ${small[*]}" >/dev/null 2>&1
stat_ms() {  # statistic $1 of command $2 in ms
  grep -o "\"$1\": [0-9.e-]*" "$json" | sed -n "$2p" | awk '{ printf "%.1f", $2 * 1000 }'
}
echo "full table:  mean $(stat_ms mean 1) ms, max $(stat_ms max 1) ms"
echo "1000 rows:   mean $(stat_ms mean 2) ms, max $(stat_ms max 2) ms"

peak_kib() {  # the highest of five runs: single runs vary by a few pages
  local run peak=0 kib
  for run in 1 2 3 4 5; do
    kib=$(/usr/bin/time -f '%M' "$program" "$@" 2>&1 >/dev/null | tail -n 1)
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$peak"
}
peak_full=$(peak_kib "${full[@]}")
peak_small=$(peak_kib "${small[@]}")
echo "peak memory: full table ${peak_full} KiB, 1000 rows ${peak_small} KiB"

mean_full=$(stat_ms mean 1)
status=0
if awk -v m="$mean_full" 'BEGIN { exit !(m > 50) }'; then
  echo "MISSED: full table takes more than 50 ms" >&2
  status=1
fi
if [ "$peak_full" -gt 8192 ] || [ "$peak_small" -gt 8192 ]; then
  echo "MISSED: peak memory above 8 MiB" >&2
  status=1
fi
# The same peak, up to the page-level noise between runs of one command.
if [ $((peak_full - peak_small)) -gt 128 ] || [ $((peak_small - peak_full)) -gt 128 ]; then
  echo "MISSED: the full table needs more memory than 1000 rows" >&2
  status=1
fi
exit $status
