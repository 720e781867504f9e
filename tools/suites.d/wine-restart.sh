# The restart of the system shortcuts, for real: a host program asks Windows
# to restart in a throwaway prefix of its own, where the session's end can
# reach nothing but that host. It must be told that the session ends
# (WM_QUERYENDSESSION, WM_ENDSESSION) and then be ended, without its message
# loop running out and without its 30-second watchdog firing.
# shellcheck shell=bash
corvane_restart_check() {
  local winver=$1 prefix log winlog status=0
  prefix=$(corvane_wine_prefix "$winver") || return 1
  log=$(mktemp "${TMPDIR:-/tmp}/corvane-restart.XXXXXX")
  rm -f "$log"
  winlog=$(WINEPREFIX="$prefix" winepath -w "$log" 2>/dev/null)
  WINEPREFIX="$prefix" CORVANE_WINE_VERSION="$winver" timeout 90 \
      wine "$WIN_BIN/corvane_restart_host.exe" "$winlog" || status=$?
  echo "host exit status: $status"
  echo "host log:"
  cat "$log" 2>/dev/null
  corvane_wine_discard "$prefix"
  local lines
  lines=$(tr -d '\r' <"$log" 2>/dev/null | tr '\n' ' ')
  rm -f "$log"
  [[ $status -ne 124 ]] || { echo "the host was not ended"; return 1; }
  [[ "$lines" == "started restart asked queryendsession endsession " ]] ||
      { echo "unexpected log: $lines"; return 1; }
}
for winver in $CORVANE_WINE_VERSIONS; do
  corvane_suite "restart-$winver" corvane_restart_check "$winver"
done
