# Every native fuzz target, for a fixed time each (CORVANE_FUZZ_SECONDS).
# shellcheck shell=bash
for target in "$CORVANE_BUILD"/native/fuzz/*; do
  [[ -x "$target" && ! -d "$target" ]] || continue
  name=$(basename "$target")
  corpus=()
  [[ -f "$target.corpus" ]] && corpus=("$(cat "$target.corpus")")
  corvane_suite "fuzz-$name" bash -c 'cd "$1" && shift && exec "$@"' _ \
      "$CORVANE_RESULTS" "$target" --seconds="${CORVANE_FUZZ_SECONDS:-15}" "${corpus[@]}"
done
