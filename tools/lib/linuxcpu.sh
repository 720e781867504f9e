# The Linux side of a program running under Wine: its process and its
# prefix's wineserver, and the processor time they use (Wine keeps no
# processor times for another process). Used by the idle benchmarks.
# shellcheck shell=bash

# corvane_prefix_process <prefix> <regex>: the Linux pid of the last process
# of that prefix whose command line matches.
corvane_prefix_process() {
  local prefix=$1 pattern=$2 p found=""
  for p in /proc/[0-9]*; do
    p=${p#/proc/}
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" || continue
    { tr '\0' ' ' <"/proc/$p/cmdline"; } 2>/dev/null | grep -q "$pattern" && found=$p
  done
  echo "$found"
}

# corvane_prefix_wineserver <prefix>: the Linux pid of its wineserver.
corvane_prefix_wineserver() {
  local prefix=$1 p found=""
  for p in /proc/[0-9]*; do
    p=${p#/proc/}
    [[ "$(readlink "/proc/$p/exe" 2>/dev/null)" == *wineserver* ]] || continue
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && found=$p
  done
  echo "$found"
}

# corvane_cpu_ticks <pid>: user + system clock ticks so far (0 without a pid).
corvane_cpu_ticks() {
  if [[ -n "${1:-}" ]]; then awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; else echo 0; fi
}

# corvane_cpu_percent <ticks before> <ticks after> <seconds>: % of one core.
corvane_cpu_percent() {
  awk -v a="$1" -v b="$2" -v s="$3" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", 100 * (b - a) / hz / s }'
}
