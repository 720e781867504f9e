# How the test command joins the rows of the suites CTest ran, over a fake
# CTest tree: nothing is built or run (tests/tools/ctest_rows_test.sh).
# shellcheck shell=bash
corvane_suite ctest-rows bash "$CORVANE_ROOT/tests/tools/ctest_rows_test.sh"
