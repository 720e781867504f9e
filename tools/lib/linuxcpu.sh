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

# corvane_cpu_watch <pid> <server pid> <seconds>: watches the two for that
# long in slices of 5 s and prints "<median %> <program mean %> <server
# mean %> <slices...>": the median of the slices' processor time of both
# together (on a shared machine another program's burst lands in a slice
# or two, which the median leaves out), and each one's mean over the whole.
corvane_cpu_watch() {
  local pid=$1 server=$2 secs=$3 p0 s0 p1 s1 first_p first_s i slices=()
  p0=$(corvane_cpu_ticks "$pid") s0=$(corvane_cpu_ticks "$server")
  first_p=$p0 first_s=$s0 p1=$p0 s1=$s0
  for ((i = 0; i < secs / 5; i++)); do
    sleep 5
    # A program that ended meanwhile has no more slices.
    [[ -r "/proc/$pid/stat" ]] || break
    p1=$(corvane_cpu_ticks "$pid") s1=$(corvane_cpu_ticks "$server")
    slices+=("$(corvane_cpu_percent $((p0 + s0)) $((p1 + s1)) 5)")
    p0=$p1 s0=$s1
  done
  local watched=$(( ${#slices[@]} * 5 ))
  (( watched > 0 )) || watched=5
  awk -v list="${slices[*]}" -v p="$(corvane_cpu_percent "$first_p" "$p1" "$watched")" \
      -v w="$(corvane_cpu_percent "$first_s" "$s1" "$watched")" 'BEGIN {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    m = n == 0 ? 0 : (n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2)
    printf "%.3f %s %s %s\n", m, p, w, list }'
}
