#!/usr/bin/env bash
# The benchmark judge (tools/lib/benchcheck.{awk,sh}): a table of benchmark
# lines with the verdict each must get, then `--check` runs over fake
# benchmarks whose figures pass, pass on the second run, or stay over.
# Nothing is timed: the fakes print fixed figures.
# shellcheck disable=SC1091
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
export CORVANE_ROOT=$root
source "$root/tools/lib/benchcheck.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-benchcheck-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# verdict|line
while IFS='|' read -r expected line; do
  case_name=$line
  printf '%s\n' "$line" >"$work/line"
  got=$(corvane_bench_verdicts "$work/line" | cut -f1)
  [[ "$got" == "$expected" ]] || fail "verdict '$got', expected '$expected'"
done <<'CASES'
OVER|startup.ratio              2.59    (goal <= 2)
PASS|startup.ratio              2.00    (goal <= 2)
OVER|linux.idle_with_server_percent 1.000 (goal < 1)   (the two together, % of one core)
PASS|linux.idle_with_server_percent 0.930 (goal < 1)   (the two together, % of one core)
OVER|snapshot+apply,  1 interface(s):    3.00 ms; the same   40 registry calls raw:    2.00 ms; ratio 1.50 (goal <= 1.3); without the 0.50 ms of the flushed file write: ratio 1.34
PASS|snapshot+apply,  1 interface(s):    3.00 ms; the same   40 registry calls raw:    2.00 ms; ratio 1.50 (goal <= 1.3); without the 0.50 ms of the flushed file write: ratio 1.25
OVER|sort of 999 rows by "Creating Date" ascending:    12.00 ms, descending:   250.00 ms; by "Creating Time":    10.00 ms (goal < 250 each)
PASS|sort of 999 rows by "Creating Date" ascending:    12.00 ms, descending:   249.00 ms; by "Creating Time":    10.00 ms (goal < 250 each)
PASS|ping: PingHost(127.0.0.1) 12.0 us, bare IcmpSendEcho 10.0 us (medians), ratio 1.19 (goal <= 1.5)
OVER|cpu.idle-status                 1.600 %   goal < 1    OVER  (median of 6 slices)
PASS|graph.repaint_ratio                 1.20 x   goal < 1.5  PASS  (note)
OVER|idle (no ping)        longest unanswered    60 ms  (3 answers, ping 0 ms, answered)  [goal: < 50 ms]
PASS|idle (no ping)        longest unanswered    20 ms  (3 answers, ping 0 ms, answered)
PASS|search less timeouts / bare echoes: 1.10x (goal <= 1.2x); search 3.0 ms against 5 ms budget, within
OVER|search less timeouts / bare echoes: 1.10x (goal <= 1.2x); search 3.0 ms against 5 ms budget, OVER
|linux.vmrss_kib            40000   (the whole Wine process, loader and DLLs included)
CASES

# The same figure once per Windows version is judged one by one, and a
# figure keeps its name whatever its numbers and verdict.
case_name=per-version
printf '%s\n' "cpu.idle 1.6 % goal < 1 OVER (m)" "cpu.idle 0.6 % goal < 1 PASS (m)" >"$work/two"
printf '%s\n' "cpu.idle 0.2 % goal < 1 PASS (m)" "cpu.idle 3.6 % goal < 1 OVER (m)" >"$work/two.b"
[[ "$(corvane_bench_verdicts "$work/two" | cut -f2 | sort -u | wc -l)" == 2 ]] ||
  fail "the two versions share a name"
[[ "$(corvane_bench_verdicts "$work/two" | cut -f2)" == "$(corvane_bench_verdicts "$work/two.b" | cut -f2)" ]] ||
  fail "a figure's name changes with its numbers"

# Fake benchmarks: each prints the figures of its next run from a list.
# fake <name> <figure of run 1> <figure of run 2>
fake() {
  mkdir -p "$work/bench.d"
  printf '%s\n' "$2" "$3" >"$work/$1.runs"
  cat >"$work/bench.d/$1.sh" <<FAKE
n=\$(cat "$work/$1.n" 2>/dev/null || echo 0); echo \$((n + 1)) >"$work/$1.n"
sed -n "\$((n + 1))p" "$work/$1.runs"
echo "plan ratio 1.10 (goal <= 1.5)"
FAKE
}
# case|check|figure run 1|figure run 2|exit|runs|expected text
while IFS='|' read -r case_name check first second status runs text; do
  rm -rf "$work/bench.d" "$work"/*.n "$work/results"
  mkdir -p "$work/results"
  fake a "$first" "$second"
  out=$(corvane_bench_all "$check" "$work/results" "$work/bench.d"/*.sh)
  got=$?
  [[ "$got" == "$status" ]] || fail "exit $got, expected $status"
  [[ "$(cat "$work/a.n")" == "$runs" ]] || fail "$(cat "$work/a.n") runs, expected $runs"
  grep -qF "$text" <<<"$out" || fail "no '$text' in: $out"
done <<'CASES'
passes|1|startup.ratio 1.50 (goal <= 2)|startup.ratio 9.00 (goal <= 2)|0|1|every figure within its goal
over-then-within|1|startup.ratio 2.50 (goal <= 2)|startup.ratio 1.90 (goal <= 2)|0|2|startup.ratio 2.50 (goal <= 2)
over-twice|1|startup.ratio 2.50 (goal <= 2)|startup.ratio 2.10 (goal <= 2)|1|2|a: startup.ratio # (goal <= #) [1]
over-twice-shows-both|1|startup.ratio 2.50 (goal <= 2)|startup.ratio 2.10 (goal <= 2)|1|2|startup.ratio 2.10 (goal <= 2)
gone-on-rerun|1|startup.ratio 2.50 (goal <= 2)|the program did not start|1|2|over its goal in both runs
no-check|0|startup.ratio 2.50 (goal <= 2)|startup.ratio 1.00 (goal <= 2)|0|1|OVER	startup.ratio 2.50
CASES

if ((failures)); then
  echo "bench check test: $failures failure(s)"
  exit 1
fi
echo "bench check test: all cases passed"
