# The set-up's retries when a Debian mirror is in mid-sync, against a fake
# apt-get: no network, nothing installed (tests/tools/setup_test.sh).
# shellcheck shell=bash
corvane_suite setup-retries bash "$CORVANE_ROOT/tests/tools/setup_test.sh"
