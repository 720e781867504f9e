# The MTU finder's network: a sender namespace joined by veth pairs to three
# answering namespaces of its own, each a host of known path MTU.
#   10.231.14.2  MTU 1400: fragments are dropped on arrival (no reassembly), so an echo the
#                sender had to fragment never gets an answer
#   10.231.15.2  MTU 1500: the same rule, never needed
#   10.231.16.2  MTU 1500, but echo requests are ignored: a host that never
#                answers
# Nothing routes anywhere else. Wine's echo sends no don't-fragment flag, so
# "too big" shows up here as silence, which is what the finder's retry rule
# is for. The namespaces' names start with "cvmtu" and end with the caller's
# tag; cvmtu_netns_down removes them.
# shellcheck shell=bash

# CVMTU_HOSTS: what the Windows tests read (address=mtu, "none" for silence).
# shellcheck disable=SC2034
CVMTU_HOSTS="10.231.14.2=1400 10.231.15.2=1500 10.231.16.2=none"

# cvmtu_netns_up <tag>: sets CVMTU_SENDER to the sender's namespace.
cvmtu_netns_up() {
  local tag=$1 net mtu peer
  CVMTU_SENDER=cvmtu-s-$tag
  CVMTU_NAMESPACES=("$CVMTU_SENDER")
  ip netns add "$CVMTU_SENDER" || return 1
  ip -n "$CVMTU_SENDER" link set lo up || return 1
  # On the qemu route Wine runs as root of a user namespace of its own, which
  # may not open raw sockets; echo sockets are let in, in this namespace only.
  ip netns exec "$CVMTU_SENDER" sysctl -q -w net.ipv4.ping_group_range="0 2147483647" || return 1
  for net in 14 15 16; do
    mtu=1500
    [[ $net == 14 ]] && mtu=1400
    peer=cvmtu-$net-$tag
    CVMTU_NAMESPACES+=("$peer")
    ip netns add "$peer" &&
    ip -n "$peer" link set lo up &&
    # Made inside the sender's namespace, so that no name is ever shared
    # with another run's links.
    ip -n "$CVMTU_SENDER" link add "v$net" mtu "$mtu" type veth peer name "p$net" netns "$peer" &&
    ip -n "$peer" link set "p$net" mtu "$mtu" &&
    ip -n "$CVMTU_SENDER" addr add "10.231.$net.1/24" dev "v$net" &&
    ip -n "$peer" addr add "10.231.$net.2/24" dev "p$net" &&
    ip -n "$CVMTU_SENDER" link set "v$net" up &&
    ip -n "$peer" link set "p$net" up &&
    # No memory for reassembly: every fragment that arrives is dropped
    # (a reassembly limit of 0 turns reassembly off in this namespace).
    ip netns exec "$peer" sysctl -q -w net.ipv4.ipfrag_low_thresh=0 &&
    ip netns exec "$peer" sysctl -q -w net.ipv4.ipfrag_high_thresh=0 || return 1
  done
  ip netns exec "cvmtu-16-$tag" sysctl -q -w net.ipv4.icmp_echo_ignore_all=1 || return 1
  # Only the three links: no default route, nothing leaves.
  [[ -z "$(ip -n "$CVMTU_SENDER" route show default)" ]]
}

cvmtu_netns_down() {
  local ns
  for ns in "${CVMTU_NAMESPACES[@]}"; do ip netns delete "$ns" 2>/dev/null || true; done
  CVMTU_NAMESPACES=()
}
