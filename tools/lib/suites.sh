# Running test suites and keeping one summary for the end of the run.
# shellcheck shell=bash

CORVANE_RESULTS=${CORVANE_RESULTS:-$CORVANE_BUILD/test-results}
CORVANE_SUMMARY=()
CORVANE_FAILED=0

# CORVANE_ONLY_SUITE, a shell pattern, picks the suites a hook runs: the
# others are passed over without a trace (tools/lib/ctest-suite runs one
# suite of a hook this way).
_corvane_wanted() {
  # shellcheck disable=SC2053  # a pattern on purpose
  [[ -z "${CORVANE_ONLY_SUITE:-}" || "$1" == $CORVANE_ONLY_SUITE ]]
}

_corvane_record() {  # name status tests failures seconds [skipped]
  CORVANE_SUMMARY+=("$(printf '%-40s %-5s %6s %6s %7s %7ss' "$1" "$2" "$3" "$4" "${6:--}" "$5")")
  [[ "$2" == "ok" ]] || CORVANE_FAILED=1
}

# Reads the counts from a GoogleTest XML report: the tests that ran (skipped
# ones do not count), the failures and the skipped tests.
_corvane_gtest_counts() {
  local xml=$1 tests failures errors skipped
  if [[ ! -s "$xml" ]]; then
    echo "0 0 0"
    return
  fi
  tests=$(grep -m1 -o '<testsuites [^>]*' "$xml" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
  failures=$(grep -m1 -o '<testsuites [^>]*' "$xml" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
  errors=$(grep -m1 -o '<testsuites [^>]*' "$xml" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*')
  skipped=$(grep -o '<testsuite [^>]*' "$xml" | grep -o ' skipped="[0-9]*"' | grep -o '[0-9]*' |
            awk '{ n += $1 } END { print n + 0 }')
  echo "$(( ${tests:-0} - ${skipped:-0} )) $(( ${failures:-0} + ${errors:-0} )) ${skipped:-0}"
}

# _corvane_gtest_skipped <xml> <suite name>: one line per skipped test, with
# the reason the test gave, so that no test is skipped silently.
_corvane_gtest_skipped() {
  [[ -s "$1" ]] || return 0
  python3 - "$1" "$2" <<'PY'
import sys
import xml.etree.ElementTree as ET
for case in ET.parse(sys.argv[1]).iter("testcase"):
    skipped = case.find("skipped")
    if skipped is not None or case.get("result") == "skipped":
        reason = (skipped.get("message") if skipped is not None else "") or ""
        reason = reason.strip().splitlines()[-1] if reason.strip() else "(no reason given)"
        print(f"{sys.argv[2]}: skipped {case.get('classname')}.{case.get('name')}: {reason}")
PY
}

# _corvane_record_gtest <name> <status> <counts> <seconds>
_corvane_record_gtest() {
  local counts
  read -r -a counts <<<"$3"
  _corvane_record "$1" "$2" "${counts[0]}" "${counts[1]}" "$4" "${counts[2]}"
}

# A GoogleTest suite is there to run tests: one that ran none (a filter that
# matches nothing, a program that ended before its first test) fails.
# Prints the status to record.
_corvane_gtest_status() {  # status counts log
  if [[ "$1" == ok && "${2%% *}" == 0 ]]; then
    echo "no test ran" >>"$3"
    echo FAIL
  else
    echo "$1"
  fi
}

# corvane_suite <name> <command...>: a suite that is a plain command.
corvane_suite() {
  local name=$1 start status=ok
  shift
  _corvane_wanted "$name" || return 0
  mkdir -p "$CORVANE_RESULTS"
  echo "=== $name"
  start=$(date +%s)
  "$@" >"$CORVANE_RESULTS/$name.log" 2>&1 || status=FAIL
  [[ "$status" == ok ]] || tail -n 60 "$CORVANE_RESULTS/$name.log"
  _corvane_record "$name" "$status" "-" "-" "$(( $(date +%s) - start ))"
}

# corvane_gtest_native <name> <program> [args...]
corvane_gtest_native() {
  local name=$1 program=$2 start status=ok xml counts
  shift 2
  _corvane_wanted "$name" || return 0
  mkdir -p "$CORVANE_RESULTS"
  xml="$CORVANE_RESULTS/$name.xml"
  rm -f "$xml"
  echo "=== $name"
  start=$(date +%s)
  timeout "${CORVANE_SUITE_TIMEOUT:-900}" "$program" --gtest_output="xml:$xml" "$@" \
      >"$CORVANE_RESULTS/$name.log" 2>&1 || status=FAIL
  counts=$(_corvane_gtest_counts "$xml")
  status=$(_corvane_gtest_status "$status" "$counts" "$CORVANE_RESULTS/$name.log")
  [[ "$status" == ok ]] || grep -E '^\[  FAILED  \]|Failure|ERROR|Sanitizer|no test ran' "$CORVANE_RESULTS/$name.log" | head -n 40
  _corvane_gtest_skipped "$xml" "$name"
  _corvane_record_gtest "$name" "$status" "$counts" "$(( $(date +%s) - start ))"
}

# corvane_gtest_wine <name> <windows-version> <program.exe> [args...]
# Runs a Windows GoogleTest program in a throwaway prefix of that version.
# CORVANE_WINE_WRAPPER (an array) may put a command in front of wine, such as
# "ip netns exec <ns>". CORVANE_WINE_PREFIX names a prefix to use instead,
# which the caller made and discards.
corvane_gtest_wine() {
  local name=$1 winver=$2 program=$3 start status=ok xml counts prefix winxml
  shift 3
  _corvane_wanted "$name" || return 0
  mkdir -p "$CORVANE_RESULTS"
  xml="$CORVANE_RESULTS/$name.xml"
  rm -f "$xml"
  echo "=== $name: $(basename "$program"), PE machine $(corvane_pe_machine "$program"), $(corvane_wine_route_line)"
  start=$(date +%s)
  prefix=${CORVANE_WINE_PREFIX:-$(corvane_wine_prefix "$winver")}
  # Wine maps the Unix root to drive Z:. Computed here rather than asked of
  # winepath, which would start the prefix's wineserver outside any wrapper.
  winxml="Z:${xml//\//\\}"
  WINEPREFIX="$prefix" CORVANE_WINE_VERSION="$winver" \
      timeout "${CORVANE_SUITE_TIMEOUT:-900}" "${CORVANE_WINE_WRAPPER[@]}" \
      wine "$program" --gtest_output="xml:$winxml" "$@" \
      >"$CORVANE_RESULTS/$name.log" 2>&1 || status=FAIL
  [[ -n "${CORVANE_WINE_PREFIX:-}" ]] || corvane_wine_discard "$prefix"
  counts=$(_corvane_gtest_counts "$xml")
  status=$(_corvane_gtest_status "$status" "$counts" "$CORVANE_RESULTS/$name.log")
  [[ "$status" == ok ]] || grep -E '^\[  FAILED  \]|Failure|error|no test ran' "$CORVANE_RESULTS/$name.log" | head -n 40
  _corvane_gtest_skipped "$xml" "$name"
  _corvane_record_gtest "$name" "$status" "$counts" "$(( $(date +%s) - start ))"
}

corvane_print_summary() {
  echo
  echo "==================================== summary ===================================="
  printf '%-40s %-5s %6s %6s %7s %8s\n' "suite" "" "tests" "failed" "skipped" "time"
  local line
  for line in "${CORVANE_SUMMARY[@]}"; do echo "$line"; done
  echo "logs: $CORVANE_RESULTS"
  if declare -F corvane_wine_route_line >/dev/null; then
    corvane_wine_route_line
    [[ "${CORVANE_WINE_ROUTE:-}" != win64 ]] || corvane_untested_warning
  fi
  if [[ $CORVANE_FAILED -ne 0 ]]; then
    echo "RESULT: FAILED"
  else
    echo "RESULT: all suites passed"
  fi
  corvane_test_totals "${CORVANE_SUMMARY[@]}"
}

# corvane_ctest_rows <CTest tree>: for each test of the tree, in the order
# of the tests, prints what it printed and takes its summary rows, which
# tools/lib/ctest-suite leaves in CORVANE_RESULTS (<test>.out, <test>.summary).
# A suite that left no rows (its lane's fixture failed, CTest ended it at its
# time limit or never started it) did not finish: it fails. A lane's fixture
# (lane-setup-<version>) has no rows of its own.
corvane_ctest_rows() {
  local name line fields
  while IFS= read -r name; do
    cat "$CORVANE_RESULTS/$name.out" 2>/dev/null
    [[ $name == lane-setup-* ]] && continue
    if [[ ! -s "$CORVANE_RESULTS/$name.summary" ]]; then
      echo "=== $name: did not finish"
      _corvane_record "$name" FAIL - - 0
      continue
    fi
    while IFS= read -r line; do
      [[ -n "$line" ]] || continue
      CORVANE_SUMMARY+=("$line")
      read -r -a fields <<<"$line"
      [[ "${fields[${#fields[@]}-5]}" == ok ]] || CORVANE_FAILED=1
    done <"$CORVANE_RESULTS/$name.summary"
  done < <(ctest --test-dir "$1" -N | sed -n 's/^ *Test *#[0-9]*: //p')
}

# corvane_test_totals <summary line...>: the last line of the summary, for
# people and for whatever reads the log: "N passed, N failed, N skipped"
# over every test run. A GoogleTest suite counts its tests; a plain suite (a
# fuzz target, a restart check) counts as one test. A suite that failed
# without a failed test (a crash, a sanitizer report, its time limit, no
# test run) counts one failure more. Skipped tests are neither passed nor
# failed; each lane's log names them with their reasons.
corvane_test_totals() {
  local passed=0 failed=0 skipped=0 line fields n status tests failures
  for line in "$@"; do
    read -r -a fields <<<"$line"
    n=${#fields[@]}
    (( n >= 6 )) || continue
    status=${fields[n-5]} tests=${fields[n-4]} failures=${fields[n-3]}
    [[ "${fields[n-2]}" == [0-9]* ]] && skipped=$((skipped + fields[n-2]))
    if [[ "$tests" == - ]]; then
      if [[ "$status" == ok ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
      continue
    fi
    passed=$((passed + tests - failures))
    failed=$((failed + failures))
    [[ "$status" == ok || "$failures" -gt 0 ]] || failed=$((failed + 1))
  done
  echo "$passed passed, $failed failed, $skipped skipped"
}

# corvane_session_end_check <windows-version> <seconds> <expected-log> <program.exe> [args...]
# For a program that asks Windows to end the session: runs it alone in a
# throwaway prefix of its own, where the session's end can reach nothing
# else. The program logs what it saw to the Windows path in
# CORVANE_RESTART_LOG, one line per event. Passes when the session ended the
# program (not the time limit) and the log, its lines joined by spaces, is
# exactly the expected text.
corvane_session_end_check() {
  local winver=$1 seconds=$2 expected=$3 prefix log lines status=0
  shift 3
  prefix=${CORVANE_WINE_PREFIX:-$(corvane_wine_prefix "$winver")} || return 1
  log=$(mktemp "${TMPDIR:-/tmp}/corvane-session.XXXXXX")
  rm -f "$log"
  WINEPREFIX="$prefix" CORVANE_WINE_VERSION="$winver" CORVANE_RESTART_LOG="Z:${log//\//\\}" \
      timeout "$seconds" wine "$@" || status=$?
  echo "exit status: $status"
  echo "log:"
  cat "$log" 2>/dev/null
  corvane_wine_discard "$prefix"
  lines=$(tr -d '\r' <"$log" 2>/dev/null | tr '\n' ' ')
  rm -f "$log"
  [[ $status -ne 124 ]] || { echo "the session's end did not end the program"; return 1; }
  [[ "$lines" == "$expected" ]] || { echo "unexpected log: $lines"; return 1; }
}
