# The memory windows (tests/memory/bench/MemoryBench.cpp): the user-interface
# thread's longest unanswered time during "Optimize Now" of 512 MB and during
# the automatic alarm check, against the idle program; the processor time of
# the idle program with the System Status window shown and every timer
# running, its wineserver included (read here from Linux while the benchmark
# waits, goal < 1% of one core); one graph repaint. CORVANE_IDLE_SECONDS
# sets the idle windows (30 s), CORVANE_MEMORY_WINVERS the Windows versions
# ("winxp win98").
# shellcheck shell=bash
source "$CORVANE_ROOT/tools/lib/linuxcpu.sh"

_memory_bench() {
  local winver=$1 seconds=${CORVANE_IDLE_SECONDS:-30} prefix out bench seen=0 marks label secs goal
  local pid server median slices program wineserver results=()
  prefix=$(corvane_wine_prefix "$winver")
  out=$(mktemp)
  (cd "$WIN_BIN" && WINEPREFIX="$prefix" wine corvane_memory_bench.exe "$seconds" >"$out" 2>/dev/null) &
  bench=$!
  # Each "cpu.begin <label> <seconds> [goal %]" line starts a measurement.
  while kill -0 "$bench" 2>/dev/null; do
    mapfile -t marks < <(tr -d '\r' <"$out" | grep '^cpu\.begin')
    if (( ${#marks[@]} > seen )); then
      goal=""
      read -r _ label secs goal <<<"${marks[seen]}"
      seen=$((seen + 1))
      pid=$(corvane_prefix_process "$prefix" 'corvane\.exe')
      server=$(corvane_prefix_wineserver "$prefix")
      read -r median program wineserver slices < <(corvane_cpu_watch "$pid" "$server" "$secs")
      results+=("$(awk -v l="$label" -v m="$median" -v p="$program" -v w="$wineserver" \
                   -v g="$goal" -v ok="${pid:+1}" -v list="$slices" 'BEGIN {
          if (!ok) { printf "cpu.%-30s n/a (corvane.exe not found)\n", l; exit }
          n = split(list, v, " ")
          verdict = g == "" ? "" : sprintf("goal < %-4s %s", g, (m < g + 0 ? "PASS" : "OVER"))
          printf "cpu.%-30s %9.3f %%   %-16s  (median of %d slices of 5 s, %% of one core, wineserver included: %s; mean over %d s: corvane.exe %.3f + wineserver %.3f)\n",
                 l, m, verdict, n, list, n * 5, p, w }')")
    fi
    sleep 0.2
  done
  wait "$bench"
  tr -d '\r' <"$out" | grep -v '^cpu\.begin'
  printf '%s\n' "${results[@]}"
  rm -f "$out"
  corvane_wine_discard "$prefix"
}
for _memory_winver in ${CORVANE_MEMORY_WINVERS:-winxp win98}; do
  echo "--- $_memory_winver"
  _memory_bench "$_memory_winver"
done
unset _memory_winver
