# The shell: start-up time of corvane.exe to its visible, painted main window
# against a bare Win32 window program (ratio, goal <= 2), the processor time
# of the idle main window over 30 s (goal < 1% of one core), and its working
# set after start-up. The figures inside Wine come from corvane_shell_bench;
# the Linux side of the same process (and its wineserver) is read from /proc.
# shellcheck shell=bash
_shell_bench() {
  local winver=${1:-winxp} prefix out pid="" server="" i stat0 stat1 srv0 srv1 hz rss
  prefix=$(corvane_wine_prefix "$winver")
  out=$(mktemp)
  (cd "$WIN_BIN" && WINEPREFIX="$prefix" wine corvane_shell_bench.exe "${CORVANE_IDLE_SECONDS:-30}" 5 >"$out" 2>/dev/null) &
  local bench=$!
  # Wait for the idle phase, then find the Linux processes of our prefix.
  for i in $(seq 1 600); do
    grep -q '^idle.windows_pid' "$out" 2>/dev/null && break
    sleep 0.2
  done
  ours() { { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; }
  for p in $(ls /proc | grep -E '^[0-9]+$'); do
    ours "$p" || continue
    if { tr '\0' ' ' <"/proc/$p/cmdline"; } 2>/dev/null | grep -q 'corvane\.exe'; then pid=$p; fi
    if [[ "$(readlink "/proc/$p/exe" 2>/dev/null)" == *wineserver* ]]; then server=$p; fi
  done
  hz=$(getconf CLK_TCK)
  ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
  if [[ -n "$pid" ]]; then
    stat0=$(ticks "$pid")
    srv0=$( [[ -n "$server" ]] && ticks "$server" || echo 0)
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    sleep "${CORVANE_IDLE_SECONDS:-30}"
    stat1=$(ticks "$pid")
    srv1=$( [[ -n "$server" ]] && ticks "$server" || echo 0)
  fi
  wait "$bench"
  cat "$out"
  if [[ -n "$pid" ]]; then
    echo "linux.vmrss_kib            $rss   (the whole Wine process, loader and DLLs included)"
    awk -v a="$stat0" -v b="$stat1" -v s="${CORVANE_IDLE_SECONDS:-30}" -v hz="$hz" \
        'BEGIN { printf "linux.idle_cpu_percent     %.3f   (the idle main window: its Wine process over %d s, %% of one core; goal < 1)\n", 100 * (b - a) / hz / s, s }'
    awk -v a="$srv0" -v b="$srv1" -v s="${CORVANE_IDLE_SECONDS:-30}" -v hz="$hz" \
        'BEGIN { printf "linux.wineserver_cpu_percent %.3f (its wineserver meanwhile)\n", 100 * (b - a) / hz / s }'
  fi
  rm -f "$out"
  corvane_wine_discard "$prefix"
}
_shell_bench winxp
