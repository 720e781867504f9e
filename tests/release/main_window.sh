# The main window of a started corvane.exe as the release tests look for it
# on the caller's display (xdotool). Sourced by package_test.sh and
# installer_test.sh.

# The main window and the splash picture are both top-level windows named
# "Corvane"; the splash is 460 pixels wide (KeltSpl.spl), the main window
# wider.
main_window_visible() {
  local window width
  for window in $(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null); do
    width=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | sed -n 's/^WIDTH=//p')
    [[ -n "$width" && $width -gt 460 ]] && return 0
  done
  return 1
}

# wait_for_main_window <seconds> [pid]: looks once a second for the main
# window, giving up after that many looks, or at once when the given
# process has ended; succeeds when the window showed.
wait_for_main_window() {
  local seconds=$1 pid=${2:-} i
  for ((i = 0; i < seconds; i++)); do
    main_window_visible && return 0
    [[ -z "$pid" ]] || kill -0 "$pid" 2>/dev/null || return 1
    sleep 1
  done
  return 1
}
