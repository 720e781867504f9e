# The plan of an apply with 3 interfaces against reading the same values
# with raw registry calls in the same run (tests/tuning/bench/PlanBench.cpp).
# shellcheck shell=bash
corvane_bench_wine winxp "$WIN_BIN/corvane_plan_bench.exe"
