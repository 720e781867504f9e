# The fuzz driver itself: an input that crashes its target, and one that
# hangs it until the time limit ends the run, must each be left behind as
# crash-<hash> holding exactly that input.
# shellcheck shell=bash
_corvane_fuzz_driver_check() {
  local program=$CORVANE_BUILD/native/bin/corvane_fuzz_driver_check dir input kept status
  [[ -x "$program" ]] || { echo "missing: $program"; return 1; }
  for input in "crash me" "hang me"; do
    dir=$(mktemp -d "${TMPDIR:-/tmp}/corvane-fuzz-driver.XXXXXX")
    printf '%s' "$input" >"$dir/seed"
    status=0
    (cd "$dir" && timeout -k 5 5 "$program" --seconds=60 seed) >"$dir/out" 2>&1 || status=$?
    kept=$(find "$dir" -maxdepth 1 -name 'crash-*')
    echo "\"$input\": exit status $status, kept: ${kept##*/}"
    if [[ $status -eq 0 || $(printf '%s\n' "$kept" | grep -c .) -ne 1 ||
          "$(cat "$kept" 2>/dev/null)" != "$input" ]]; then
      cat "$dir/out"
      rm -rf "$dir"
      return 1
    fi
    rm -rf "$dir"
  done
}
corvane_suite fuzz-driver _corvane_fuzz_driver_check
