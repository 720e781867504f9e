# The user-interface thread's longest unanswered time during a ping (goal:
# under 50 ms): to 127.0.0.1, and to a host that never answers (loopback in
# a network namespace made here with echoes ignored and no way out; needs
# root, skipped without). Echoes go to loopback only.
# shellcheck shell=bash
for winver in winxp win98; do
  echo "--- $winver"
  corvane_bench_wine "$winver" "$WIN_BIN/corvane_pinger_bench.exe"
done
_corvane_bench_netns=corvane-bench-$BASHPID
if ip netns add "$_corvane_bench_netns" 2>/dev/null &&
   ip -n "$_corvane_bench_netns" link set lo up &&
   ip netns exec "$_corvane_bench_netns" sysctl -q -w net.ipv4.icmp_echo_ignore_all=1 &&
   [[ -z "$(ip -n "$_corvane_bench_netns" route show)" ]]; then
  for winver in winxp win98; do
    echo "--- $winver, never answering host"
    prefix=$(corvane_wine_prefix "$winver")
    # A fresh wineserver inside the namespace, so that the echoes leave
    # from there.
    WINEPREFIX="$prefix" CORVANE_NETNS=1 ip netns exec "$_corvane_bench_netns" \
        sh -c 'wineserver -k 2>/dev/null; wineserver -w; exec wine "$@"' corvane-bench \
        "$WIN_BIN/corvane_pinger_bench.exe"
    WINEPREFIX="$prefix" ip netns exec "$_corvane_bench_netns" wineserver -k 2>/dev/null
    corvane_wine_discard "$prefix"
  done
else
  echo "(no network namespace: the never-answering host is not measured)"
fi
ip netns delete "$_corvane_bench_netns" 2>/dev/null || true
unset _corvane_bench_netns
