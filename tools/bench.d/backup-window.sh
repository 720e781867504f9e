# The backup manager on 999 snapshot files: opening it and sorting it by
# date and by time on a real list view, against reading the files raw
# (tests/tuning/bench/BackupWindowBench.cpp).
# shellcheck shell=bash
corvane_bench_wine winxp "$WIN_BIN/corvane_backup_window_bench.exe"
