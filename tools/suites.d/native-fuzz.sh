# Every native fuzz target, for a fixed time each (CORVANE_FUZZ_SECONDS), and
# within a time limit of its own (CORVANE_FUZZ_TIME_LIMIT, seconds): an input
# that hangs a target fails its suite instead of hanging the test command.
# A failing input is left in the results folder as crash-<hash>.
# shellcheck shell=bash
for target in "$CORVANE_BUILD"/native/fuzz/*; do
  [[ -x "$target" && ! -d "$target" ]] || continue
  name=$(basename "$target")
  corpus=()
  [[ -f "$target.corpus" ]] && corpus=("$(cat "$target.corpus")")
  fuzz_seconds=${CORVANE_FUZZ_SECONDS:-15}
  corvane_suite "fuzz-$name" timeout -k 10 "${CORVANE_FUZZ_TIME_LIMIT:-$((fuzz_seconds + 90))}" \
      bash -c 'cd "$1" && shift && exec "$@"' _ \
      "$CORVANE_RESULTS" "$target" --seconds="$fuzz_seconds" "${corpus[@]}"
done
