# The MTU finder against paths of known MTU: the namespaces of
# tools/lib/mtu-netns.sh (1400, 1500, a host that never answers), with Wine
# and a fresh wineserver inside the sender's namespace. The Windows tests
# (MtuFinderOnWine) and the editor's finder window (MtuFinderWindowTest) run
# there. Without the right to make namespaces this suite fails: it must not
# pass quietly.
#
# How Wine is started inside the namespace is one array,
# _cvmtu_route: swap it for another way in (a user namespace, an emulator)
# without touching the rest.
# shellcheck shell=bash

source "$CORVANE_ROOT/tools/lib/mtu-netns.sh"
_cvmtu_tag=$BASHPID
_cvmtu_previous_trap=""
if [[ -n "$(trap -p EXIT)" ]]; then
  eval "_cvmtu_words=($(trap -p EXIT))"
  # shellcheck disable=SC2154
  _cvmtu_previous_trap=${_cvmtu_words[2]}
fi
trap -- "cvmtu_netns_down; ${_cvmtu_previous_trap}" EXIT

mkdir -p "$CORVANE_RESULTS"
if cvmtu_netns_up "$_cvmtu_tag" >"$CORVANE_RESULTS/mtu-netns-setup.log" 2>&1; then
  _cvmtu_route=(ip netns exec "$CVMTU_SENDER" sh -c
                'wineserver -k 2>/dev/null; wineserver -w; exec "$@"' corvane-mtu)
  export CORVANE_MTU_HOSTS=$CVMTU_HOSTS
  # The qemu route's Wine stays in the sender's network instead of making
  # its own.
  export CORVANE_QEMU_ROUTE_NET=keep
  # shellcheck disable=SC2034  # read by corvane_gtest_wine
  CORVANE_WINE_WRAPPER=("${_cvmtu_route[@]}")
  for winver in $CORVANE_WINE_VERSIONS; do
    corvane_gtest_wine "mtu-netns-$winver" "$winver" "$WIN_BIN/corvane_win_tests.exe" \
        --gtest_filter='MtuFinderOnWine.*'
    _cvmtu_shots="$CORVANE_BUILD/screenshots/mtu-$winver"
    rm -rf "$_cvmtu_shots"
    mkdir -p "$_cvmtu_shots"
    CORVANE_SCREENSHOT_DIR="$_cvmtu_shots" corvane_gtest_wine "mtu-netns-gui-$winver" "$winver" \
        "$WIN_BIN/corvane_gui_tests.exe" --gtest_filter='MtuFinderWindowTest.*'
    for bmp in "$_cvmtu_shots"/*.bmp; do
      [[ -f "$bmp" ]] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
  done
  unset CORVANE_MTU_HOSTS CORVANE_WINE_WRAPPER CORVANE_QEMU_ROUTE_NET
else
  echo "=== mtu-netns-setup"
  echo "corvane: could not make the MTU test namespaces (ip netns needs root)" >&2
  cat "$CORVANE_RESULTS/mtu-netns-setup.log" >&2
  _corvane_record mtu-netns-setup FAIL - - 0
fi
cvmtu_netns_down
if [[ -n "$_cvmtu_previous_trap" ]]; then
  trap -- "$_cvmtu_previous_trap" EXIT
else
  trap - EXIT
fi
unset _cvmtu_tag _cvmtu_route _cvmtu_previous_trap _cvmtu_shots
