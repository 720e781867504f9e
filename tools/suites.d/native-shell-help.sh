# The help file OrvHelp.chm built beside corvane.exe: a valid CHM holding
# every page of assets/help, its contents and index, with no broken link.
# shellcheck shell=bash
corvane_suite help-chm bash "$CORVANE_ROOT/tests/shell/check_help.sh" \
    "$WIN_BIN/OrvHelp.chm" "$CORVANE_ROOT/assets/help" "$(dirname "$WIN_BIN")/assets/help/generated"
