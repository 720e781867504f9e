# The movie player: what a frame costs to draw and what an idle player takes.
# shellcheck shell=bash
corvane_bench_wine winxp "$WIN_BIN/corvane_movie_bench.exe"
