# The echo client's cases that need a network of their own: a loopback that
# ignores echo requests (a host that never answers) and a resolver with no
# way out of the machine (a name that does not resolve, with no query
# leaving). Wine, with a fresh wineserver, runs inside a network namespace
# made here with only loopback up; the namespace is removed again at the end.
# Without the right to make one, this suite fails: it must not pass quietly.
# shellcheck shell=bash

_corvane_netns=corvane-$BASHPID
# Whatever ends the test command, the namespace goes too: chain onto the
# EXIT trap already set (the virtual display's) and put it back afterwards.
_corvane_netns_previous_trap=""
if [[ -n "$(trap -p EXIT)" ]]; then
  eval "_corvane_netns_words=($(trap -p EXIT))"
  _corvane_netns_previous_trap=${_corvane_netns_words[2]}
fi
_corvane_netns_cleanup() {
  ip netns delete "$_corvane_netns" 2>/dev/null || true
}
trap -- "_corvane_netns_cleanup; ${_corvane_netns_previous_trap}" EXIT

_corvane_netns_setup() {
  ip netns add "$_corvane_netns" &&
  ip -n "$_corvane_netns" link set lo up &&
  ip netns exec "$_corvane_netns" sysctl -q -w net.ipv4.icmp_echo_ignore_all=1 &&
  # On the qemu route Wine runs as root of a user namespace of its own, which
  # may not open raw sockets in this network; echo sockets (what Wine falls
  # back to) are let in for every group, in this namespace only.
  ip netns exec "$_corvane_netns" sysctl -q -w net.ipv4.ping_group_range="0 2147483647" &&
  # Only loopback: no route leads anywhere else.
  [[ -z "$(ip -n "$_corvane_netns" route show)" ]] &&
  [[ "$(ip netns exec "$_corvane_netns" cat /proc/sys/net/ipv4/icmp_echo_ignore_all)" == 1 ]]
}

mkdir -p "$CORVANE_RESULTS"
if _corvane_netns_setup >"$CORVANE_RESULTS/netns-setup.log" 2>&1; then
  export CORVANE_NETNS=1
  # The qemu route's Wine stays in this network instead of making its own.
  export CORVANE_QEMU_ROUTE_NET=keep
  # corvane_gtest_wine asks winepath for the report's path first, which
  # starts the prefix's wineserver (and the driver process that sends the
  # echoes) outside the namespace. Stop that server of our own prefix, so
  # that wine starts a fresh one inside the namespace.
  CORVANE_WINE_WRAPPER=(ip netns exec "$_corvane_netns" sh -c
                        'wineserver -k 2>/dev/null; wineserver -w; exec "$@"' corvane-netns)
  for winver in $CORVANE_WINE_VERSIONS; do
    corvane_gtest_wine "netns-$winver" "$winver" "$WIN_BIN/corvane_win_tests.exe" \
        --gtest_filter='*SocketsContract*:*EchoContract*:RealPing.*:ThreadedPingService.*'
    # The net pinger's "Ping Now" to the host that never answers, while the
    # main window of the real program keeps answering messages, and the
    # tray's Exit while that ping is out, with Wine's heap checking.
    WINEDEBUG=warn+heap corvane_gtest_wine "netns-gui-$winver" "$winver" "$WIN_BIN/corvane_gui_tests.exe" \
        --gtest_filter='NetPingerTest.*'
  done
  unset CORVANE_NETNS CORVANE_WINE_WRAPPER CORVANE_QEMU_ROUTE_NET
else
  echo "=== netns-setup"
  echo "corvane: could not make the network namespace $_corvane_netns (ip netns needs root)" >&2
  cat "$CORVANE_RESULTS/netns-setup.log" >&2
  _corvane_record netns-setup FAIL - - 0
fi
_corvane_netns_cleanup
if [[ -n "$_corvane_netns_previous_trap" ]]; then
  trap -- "$_corvane_netns_previous_trap" EXIT
else
  trap - EXIT
fi
unset -f _corvane_netns_setup _corvane_netns_cleanup
