# The restart button of the real corvane.exe, in a throwaway prefix of its
# own per Windows version: the restart ends every program of the session,
# the GUI test program that pressed it included, so that program logs what
# it saw when the session told it of the end (tests/gui/SessionRestartTest.cpp)
# and the check reads the log afterwards.
# shellcheck shell=bash
for winver in $CORVANE_WINE_VERSIONS; do
  corvane_suite "gui-restart-$winver" corvane_session_end_check "$winver" 120 \
      "icon shown before restart pressed queryendsession corvane running settings loaded icon shown endsession " \
      "$WIN_BIN/corvane_gui_tests.exe" --gtest_filter='SessionRestart.*'
done
