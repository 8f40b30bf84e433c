# Sourced by the start-up timing scripts. The caller defines run_once, which
# runs one program and prints the seconds it took, and sets $bare and
# $teilomat to the two programs; or it times the runs itself and calls
# report_turns.
#
#   time_in_turns RUNS TARGET [NOTE]
#
# Warms both up, runs them RUNS times each in turns (so that a machine slowing
# down or speeding up weighs on both alike) and reports their means and
# medians and the median ratio of the paired runs against TARGET.
time_in_turns() {
  local runs=$1 target=$2 note=${3:-} times i b t
  times=$(mktemp)
  for _ in 1 2 3 4 5; do run_once "$bare" >/dev/null; run_once "$teilomat" >/dev/null; done
  for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 0 ]; then
      b=$(run_once "$bare"); t=$(run_once "$teilomat")
    else
      t=$(run_once "$teilomat"); b=$(run_once "$bare")
    fi
    echo "$b $t" >>"$times"
  done

  report_turns "$times" "$target" "$note"
  rm -f "$times"
}

# Reports a file of paired runs, one "bare teilomat" line of seconds each:
# means, medians and the median ratio of the pairs against TARGET.
#
#   report_turns FILE TARGET [NOTE [NAME]]     NAME: what "bare" is
report_turns() {
  local file=$1 target=$2 note=${3:-} name=${4:-bare window}
  awk -v target="$target" -v note="$note" -v name="$name" '
    function median(v, n,   i, j, x) {
      for (i = 2; i <= n; i++) { x = v[i]; for (j = i - 1; j >= 1 && v[j] > x; j--) v[j + 1] = v[j]; v[j + 1] = x }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    { n++; b[n] = $1; t[n] = $2; r[n] = $2 / $1; sb += $1; st += $2 }
    END {
      printf "runs: %d each, in turns%s\n", n, note
      printf "%-13s mean %.1f ms, median %.1f ms\n", name ":", 1000 * sb / n, 1000 * median(b, n)
      printf "teilomat:     mean %.1f ms, median %.1f ms\n", 1000 * st / n, 1000 * median(t, n)
      ratio = median(r, n)
      printf "teilomat / %s: %.3f by means, %.3f as median of paired runs (target at most %s): %s\n",
        name, st / sb, ratio, target, ratio <= target + 0 ? "met" : "NOT met"
    }' "$file"
}
