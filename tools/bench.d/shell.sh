# The shell: start-up time of corvane.exe to its visible, painted main window
# against a bare Win32 window program (ratio, goal <= 2), the processor time
# of the idle main window over 30 s (goal < 1% of one core), and its working
# set after start-up. The figures inside Wine come from corvane_shell_bench;
# the Linux side of the same process (and its wineserver) is read from /proc.
# shellcheck shell=bash
source "$CORVANE_ROOT/tools/lib/linuxcpu.sh"
_shell_bench() {
  local winver=${1:-winxp} prefix out pid="" server="" stat0 stat1 srv0 srv1 rss
  prefix=$(corvane_wine_prefix "$winver")
  out=$(mktemp)
  (cd "$WIN_BIN" && WINEPREFIX="$prefix" wine corvane_shell_bench.exe "${CORVANE_IDLE_SECONDS:-30}" 5 >"$out" 2>/dev/null) &
  local bench=$!
  # Wait for the idle phase, then find the Linux processes of our prefix.
  for _ in $(seq 1 600); do
    grep -q '^idle.windows_pid' "$out" 2>/dev/null && break
    sleep 0.2
  done
  pid=$(corvane_prefix_process "$prefix" 'corvane\.exe')
  server=$(corvane_prefix_wineserver "$prefix")
  if [[ -n "$pid" ]]; then
    stat0=$(corvane_cpu_ticks "$pid")
    srv0=$(corvane_cpu_ticks "$server")
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    sleep "${CORVANE_IDLE_SECONDS:-30}"
    stat1=$(corvane_cpu_ticks "$pid")
    srv1=$(corvane_cpu_ticks "$server")
  fi
  wait "$bench"
  cat "$out"
  if [[ -n "$pid" ]]; then
    echo "linux.vmrss_kib            $rss   (the whole Wine process, loader and DLLs included)"
    echo "linux.idle_cpu_percent     $(corvane_cpu_percent "$stat0" "$stat1" "${CORVANE_IDLE_SECONDS:-30}")   (the idle main window: its Wine process over ${CORVANE_IDLE_SECONDS:-30} s, % of one core; goal < 1)"
    echo "linux.wineserver_cpu_percent $(corvane_cpu_percent "$srv0" "$srv1" "${CORVANE_IDLE_SECONDS:-30}") (its wineserver meanwhile)"
    echo "linux.idle_with_server_percent $(corvane_cpu_percent $((stat0 + srv0)) $((stat1 + srv1)) "${CORVANE_IDLE_SECONDS:-30}") (goal < 1)   (the two together, % of one core)"
  fi
  rm -f "$out"
  corvane_wine_discard "$prefix"
}
_shell_bench winxp
