# corvane.exe loads on Windows 95 to XP: its import table against the
# reviewed list (docs/imports.tsv), and the checker's own cases. Always the
# 32-bit program, the one that ships; objdump needs no 32-bit execution.
# shellcheck shell=bash
corvane_suite imports-checker python3 "$CORVANE_ROOT/tests/release/check_imports.py" --self-test
corvane_suite imports-win32 python3 "$CORVANE_ROOT/tests/release/check_imports.py" \
    "$CORVANE_ROOT/docs/imports.tsv" "$CORVANE_BUILD/win32/bin/corvane.exe"
