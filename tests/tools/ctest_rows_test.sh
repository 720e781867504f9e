#!/usr/bin/env bash
# How the test command joins the suites that CTest ran (corvane_ctest_rows in
# tools/lib/suites.sh): over a fake CTest tree whose tests left output and
# summary rows in the results folder, or none. Nothing is run by CTest; each
# case lists the tree's tests, the rows each left, and the summary and
# result expected.
# shellcheck disable=SC1091
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
export CORVANE_ROOT=$root
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-ctest-rows-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
CORVANE_BUILD=$work/build
source "$root/tools/lib/suites.sh"
failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# _case_tree <test...>: a CTest tree holding these tests, in this order.
_case_tree() {
  local name
  rm -rf "$work/tree" "$work/results"
  mkdir -p "$work/tree" "$work/results"
  for name in "$@"; do
    echo "add_test($name \"true\")" >>"$work/tree/CTestTestfile.cmake"
  done
}

# _case_left <test> <row...>: what one test left; each row is
# "name status tests failures seconds skipped".
_case_left() {
  local test=$1 row fields
  shift
  echo "=== $test" >"$work/results/$test.out"
  (
    CORVANE_SUMMARY=()
    for row in "$@"; do
      read -r -a fields <<<"$row"
      _corvane_record "${fields[0]}" "${fields[1]}" "${fields[2]}" "${fields[3]}" "${fields[4]}" "${fields[5]:-}"
    done
    printf '%s\n' "${CORVANE_SUMMARY[@]}" >"$work/results/$test.summary"
  )
}

# _case_check <expected failed> <expected names and statuses, "name:status ...">
# <expected totals> <expected output lines, joined by "|">
_case_check() {
  local out rows=() line fields
  CORVANE_RESULTS=$work/results CORVANE_SUMMARY=() CORVANE_FAILED=0
  out=$(corvane_ctest_rows "$work/tree"; declare -p CORVANE_SUMMARY CORVANE_FAILED)
  eval "$(grep '^declare ' <<<"$out")"
  out=$(grep -v '^declare ' <<<"$out" | paste -sd '|')
  for line in "${CORVANE_SUMMARY[@]}"; do
    read -r -a fields <<<"$line"
    rows+=("${fields[0]}:${fields[1]}")
  done
  [[ "$CORVANE_FAILED" == "$1" ]] || fail "failed $CORVANE_FAILED, expected $1"
  [[ "${rows[*]}" == "$2" ]] || fail "rows '${rows[*]}', expected '$2'"
  [[ "$(corvane_test_totals "${CORVANE_SUMMARY[@]}")" == "$3" ]] ||
    fail "totals '$(corvane_test_totals "${CORVANE_SUMMARY[@]}")', expected '$3'"
  [[ "$out" == "$4" ]] || fail "output '$out', expected '$4'"
}

case_name="rows in the order of the tests, not of the files; a fixture has none"
_case_tree unit lane-setup-win98 regional-win98 restart-win98
_case_left restart-win98 "restart-win98 ok - - 3"
_case_left regional-win98 "regional-win98-en_US ok 4 0 9 1" "regional-win98-de_DE ok 4 0 8 1"
_case_left unit "unit ok 10 0 2 0"
_case_check 0 "unit:ok regional-win98-en_US:ok regional-win98-de_DE:ok restart-win98:ok" \
  "19 passed, 0 failed, 2 skipped" \
  "=== unit|=== regional-win98|=== restart-win98"

case_name="a suite that left no rows did not finish and fails"
_case_tree unit gui-winxp restart-winxp
_case_left unit "unit ok 10 0 2 0"
_case_left restart-winxp "restart-winxp ok - - 3"
_case_check 1 "unit:ok gui-winxp:FAIL restart-winxp:ok" \
  "11 passed, 1 failed, 0 skipped" \
  "=== unit|=== gui-winxp: did not finish|=== restart-winxp"

case_name="a failed row fails the run"
_case_tree unit netns-win98
_case_left unit "unit ok 10 0 2 0"
_case_left netns-win98 "netns-setup FAIL - - 0"
_case_check 1 "unit:ok netns-setup:FAIL" "10 passed, 1 failed, 0 skipped" \
  "=== unit|=== netns-win98"

case_name="a suite that failed some tests"
_case_tree windows-winxp
_case_left windows-winxp "windows-winxp FAIL 20 2 30 3"
_case_check 1 "windows-winxp:FAIL" "18 passed, 2 failed, 3 skipped" "=== windows-winxp"

case_name="a tree without tests gives no rows"
_case_tree
_case_check 0 "" "0 passed, 0 failed, 0 skipped" ""

if [[ $failures -ne 0 ]]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
