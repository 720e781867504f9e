# The benchmark judge and `./tools/bench --check` over fake benchmarks:
# nothing is built or timed (tests/tools/benchcheck_test.sh).
# shellcheck shell=bash
corvane_suite bench-check bash "$CORVANE_ROOT/tests/tools/benchcheck_test.sh"
