#!/usr/bin/env bash
# Times teilomat-cli plan as whole processes: a channel list of 10 000
# channels, as CHIRP exports it, to every output format (to /dev/null), and
# the peak memory of each run.
#
#   bench/cli_plan.sh            builds the release preset first
#   bench/cli_plan.sh PROGRAM    times the given teilomat-cli
#
# Targets: under 100 ms and under 8 MiB peak memory for every format. Exits 1
# if one is missed. Needs hyperfine and GNU time (Debian packages hyperfine
# and time).
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-}
if [ -z "$program" ]; then
  [ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
  cmake --build --preset release --target teilomat-cli >/dev/null
  program=build/release/cli/teilomat-cli
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
list=$scratch/channels.csv
# 10 000 channels on the 25 kHz grid from 144 MHz, every Duplex value in
# turn, quoted names with commas, CR LF line ends, the columns CHIRP writes.
awk 'BEGIN {
  printf "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
  split("|+|-|split|off", duplex, "|")
  for (i = 0; i < 10000; i++) {
    d = duplex[i % 5 + 1]
    offset = d == "split" ? sprintf("%.6f", 430 + (i % 400) * 0.025) : "0.600000"
    printf "%d,\"Kanal %d, Relais\",%.6f,%s,%s,Tone,88.5,88.5,023,NN,FM,25.00,,,,,,\r\n",
      i, i, 144 + (i % 2000) * 0.025, d, offset
  }
}' >"$list"

formats=(text csv json c arduino i2ctransfer ihex bin)
json=$scratch/times.json
commands=()
for format in "${formats[@]}"; do commands+=("$program plan $list --format $format"); done
hyperfine --shell=none --warmup 3 --runs 30 --style basic --export-json "$json" \
  "${commands[@]}" >/dev/null 2>&1
stat_ms() {  # statistic $1 of command $2 in ms
  grep -o "\"$1\": [0-9.e-]*" "$json" | sed -n "$2p" | awk '{ printf "%.1f", $2 * 1000 }'
}

peak_kib() {  # the highest of five runs: single runs vary by a few pages
  local run peak=0 kib
  for run in 1 2 3 4 5; do
    kib=$(/usr/bin/time -f '%M' "$program" "$@" 2>&1 >/dev/null | tail -n 1)
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$peak"
}

status=0
echo "10000 channels ($(wc -c <"$list") bytes of CSV):"
for i in "${!formats[@]}"; do
  format=${formats[$i]}
  mean=$(stat_ms mean $((i + 1)))
  peak=$(peak_kib plan "$list" --format "$format")
  printf '  %-5s mean %6s ms, max %6s ms, peak memory %5s KiB\n' \
    "$format" "$mean" "$(stat_ms max $((i + 1)))" "$peak"
  if awk -v m="$mean" 'BEGIN { exit !(m >= 100) }'; then
    echo "MISSED: $format takes 100 ms or more" >&2
    status=1
  fi
  if [ "$peak" -ge 8192 ]; then
    echo "MISSED: $format needs 8 MiB or more" >&2
    status=1
  fi
done
exit $status
