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
  local pid server p0 p1 s0 s1 first_p first_s i slices program wineserver results=()
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
      # In slices of 5 s: on a shared machine another program's burst
      # lands in a slice or two, which the median leaves out.
      slices=()
      p0=$(corvane_cpu_ticks "$pid") s0=$(corvane_cpu_ticks "$server")
      first_p=$p0 first_s=$s0
      for ((i = 0; i < secs / 5; i++)); do
        sleep 5
        p1=$(corvane_cpu_ticks "$pid") s1=$(corvane_cpu_ticks "$server")
        slices+=("$(corvane_cpu_percent $((p0 + s0)) $((p1 + s1)) 5)")
        p0=$p1 s0=$s1
      done
      program=$(corvane_cpu_percent "$first_p" "$p1" $((secs / 5 * 5)))
      wineserver=$(corvane_cpu_percent "$first_s" "$s1" $((secs / 5 * 5)))
      results+=("$(awk -v l="$label" -v p="$program" -v w="$wineserver" -v s=$((secs / 5 * 5)) -v g="$goal" \
                   -v ok="${pid:+1}" -v list="${slices[*]}" 'BEGIN {
          if (!ok) { printf "cpu.%-30s n/a (corvane.exe not found)\n", l; exit }
          n = split(list, v, " ")
          for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
          m = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
          verdict = g == "" ? "" : sprintf("goal < %-4s %s", g, (m < g + 0 ? "PASS" : "OVER"))
          printf "cpu.%-30s %9.3f %%   %-16s  (median of %d slices of 5 s, %% of one core, wineserver included: %s; mean over %d s: corvane.exe %.3f + wineserver %.3f)\n",
                 l, m, verdict, n, list, s, p, w }')")
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
