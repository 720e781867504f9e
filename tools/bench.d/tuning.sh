# The tuning engine: snapshot + apply and the backup list, each against the
# same work done with raw API calls (tests/tuning/bench/TuningBench.cpp).
# shellcheck shell=bash
corvane_bench_wine winxp "$WIN_BIN/corvane_tuning_bench.exe"
