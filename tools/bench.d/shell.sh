# The shell: start-up time of corvane.exe to its visible, painted main window
# against a bare Win32 window program (ratio, goal <= 2), the processor time
# of the idle main window over 30 s (goal < 1% of one core; the median of
# 5 s slices, as the memory benchmark takes it), and its working set after
# start-up, as each Windows version of CORVANE_SHELL_WINVERS ("winxp win98").
# The figures inside Wine come from corvane_shell_bench; the Linux side of
# the same process (and its wineserver) is read from /proc.
# shellcheck shell=bash
source "$CORVANE_ROOT/tools/lib/linuxcpu.sh"
_shell_bench() {
  local winver=${1:-winxp} prefix out pid="" server="" rss median program wineserver slices
  local seconds=${CORVANE_IDLE_SECONDS:-30}
  prefix=$(corvane_wine_prefix "$winver")
  out=$(mktemp)
  (cd "$WIN_BIN" && WINEPREFIX="$prefix" wine corvane_shell_bench.exe "$seconds" 5 >"$out" 2>/dev/null) &
  local bench=$!
  # Wait for the idle phase, then find the Linux processes of our prefix.
  for _ in $(seq 1 600); do
    grep -q '^idle.windows_pid' "$out" 2>/dev/null && break
    sleep 0.2
  done
  pid=$(corvane_prefix_process "$prefix" 'corvane\.exe')
  server=$(corvane_prefix_wineserver "$prefix")
  if [[ -n "$pid" ]]; then
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    read -r median program wineserver slices < <(corvane_cpu_watch "$pid" "$server" "$seconds")
  fi
  wait "$bench"
  cat "$out"
  if [[ -n "$pid" ]]; then
    echo "linux.vmrss_kib            $rss   (the whole Wine process, loader and DLLs included)"
    echo "linux.idle_cpu_percent     $program   (the idle main window: its Wine process, mean over $seconds s, % of one core)"
    echo "linux.wineserver_cpu_percent $wineserver (its wineserver meanwhile, mean)"
    echo "linux.idle_with_server_percent $median (goal < 1)   (the two together, % of one core: median of 5 s slices $slices)"
  fi
  rm -f "$out"
  corvane_wine_discard "$prefix"
}
for _shell_winver in ${CORVANE_SHELL_WINVERS:-winxp win98}; do
  echo "--- $_shell_winver"
  _shell_bench "$_shell_winver"
done
unset _shell_winver
