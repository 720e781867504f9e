# The restart button of the real corvane.exe, in a throwaway prefix of its
# own per Windows version: the restart ends every program of the session,
# the GUI test program that pressed it included, so that program logs what
# it saw when the session told it of the end (tests/gui/SessionRestartTest.cpp)
# and this suite reads the log afterwards.
# shellcheck shell=bash
corvane_gui_restart_check() {
  local winver=$1 prefix log status=0
  prefix=$(corvane_wine_prefix "$winver") || return 1
  log=$(mktemp "${TMPDIR:-/tmp}/corvane-gui-restart.XXXXXX")
  rm -f "$log"
  WINEPREFIX="$prefix" CORVANE_WINE_VERSION="$winver" CORVANE_RESTART_LOG="Z:${log//\//\\}" \
      timeout 120 wine "$WIN_BIN/corvane_gui_tests.exe" --gtest_filter='SessionRestart.*' || status=$?
  echo "test program exit status: $status"
  echo "log:"
  cat "$log" 2>/dev/null
  corvane_wine_discard "$prefix"
  local lines
  lines=$(tr -d '\r' <"$log" 2>/dev/null | tr '\n' ' ')
  rm -f "$log"
  [[ $status -ne 124 ]] || { echo "the session did not end the test program"; return 1; }
  [[ "$lines" == "icon shown before restart pressed queryendsession corvane running settings unloaded icon removed endsession " ]] ||
      { echo "unexpected log: $lines"; return 1; }
}
for winver in $CORVANE_WINE_VERSIONS; do
  corvane_suite "gui-restart-$winver" corvane_gui_restart_check "$winver"
done
