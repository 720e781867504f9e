# Runs the benchmarks of tools/bench.d and judges their figures against the
# goals their lines print (tools/lib/benchcheck.awk).
# shellcheck shell=bash

# corvane_bench_verdicts <output file>: "<PASS|OVER>\t<figure>\t<line>" for
# each figure with a goal.
corvane_bench_verdicts() {
  awk -f "$CORVANE_ROOT/tools/lib/benchcheck.awk" "$1"
}

# corvane_bench_run <script> <output file>: runs one benchmark in a subshell,
# printing its output as it comes and keeping it, then its verdicts.
corvane_bench_run() {
  # shellcheck source=/dev/null
  ( source "$1" ) 2>&1 | tee "$2"
  corvane_bench_verdicts "$2" | cut -f1,3 | sed 's/^/    /'
}

# corvane_bench_all <check 0|1> <results folder> <script>...: runs each
# benchmark once. With check 1, a benchmark with a figure over its goal runs
# a second time (the machine may be shared) and each such figure is judged
# by its better run; the result is 1 when a figure was over in both runs,
# which are both printed, and the figures are named at the end.
corvane_bench_all() {
  local check=$1 results=$2 bench name over figure failed=()
  shift 2
  for bench in "$@"; do
    [[ -f "$bench" ]] || continue
    name=$(basename "$bench" .sh)
    echo "=== $name"
    corvane_bench_run "$bench" "$results/$name.1"
    (( check )) || continue
    over=$(corvane_bench_verdicts "$results/$name.1" | awk -F'\t' '$1 == "OVER" {print $2}')
    [[ -n "$over" ]] || continue
    echo "=== $name (second run: a figure was over its goal)"
    corvane_bench_run "$bench" "$results/$name.2"
    while IFS= read -r figure; do
      corvane_bench_verdicts "$results/$name.2" |
        awk -F'\t' -v f="$figure" '$1 == "PASS" && $2 == f {found = 1} END {exit !found}' ||
        failed+=("$name: $figure")
    done <<<"$over"
  done
  (( check )) || return 0
  if (( ${#failed[@]} )); then
    echo "=== over its goal in both runs:"
    printf '  %s\n' "${failed[@]}"
    return 1
  fi
  echo "=== every figure within its goal"
}
