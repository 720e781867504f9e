# The restart of the system shortcuts, for real: a host program asks Windows
# to restart in a throwaway prefix of its own, where the session's end can
# reach nothing but that host. It must be told that the session ends
# (WM_QUERYENDSESSION, WM_ENDSESSION) and then be ended, without its message
# loop running out and without its 30-second watchdog firing.
# shellcheck shell=bash
for winver in $CORVANE_WINE_VERSIONS; do
  corvane_suite "restart-$winver" corvane_session_end_check "$winver" 90 \
      "started restart asked queryendsession endsession " "$WIN_BIN/corvane_restart_host.exe"
done
