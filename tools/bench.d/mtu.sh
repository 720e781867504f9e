# The MTU finder: a search on the 1400 path of the test network
# (tools/lib/mtu-netns.sh) against as many bare echo requests, under winxp
# and win98, from inside the sender's namespace. Goal: the search takes no
# more than 1.2 times the bare echoes plus the timeouts it waits out. Needs
# root for the namespaces; skipped without.
# shellcheck shell=bash
source "$CORVANE_ROOT/tools/lib/mtu-netns.sh"
if cvmtu_netns_up "bench$BASHPID" 2>/dev/null; then
  for winver in winxp win98; do
    echo "--- $winver"
    prefix=$(corvane_wine_prefix "$winver")
    WINEPREFIX="$prefix" ip netns exec "$CVMTU_SENDER" \
        sh -c 'wineserver -k 2>/dev/null; wineserver -w; exec wine "$@"' corvane-mtu-bench \
        "$WIN_BIN/corvane_mtu_bench.exe" 10.231.14.2 250
    WINEPREFIX="$prefix" ip netns exec "$CVMTU_SENDER" wineserver -k 2>/dev/null
    corvane_wine_discard "$prefix"
  done
else
  echo "(no network namespaces: the MTU finder is not measured)"
fi
cvmtu_netns_down
