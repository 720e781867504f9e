# The two builds: native (portable code and unit tests, with sanitizers) and
# Windows (mingw-w64, 32-bit: the program and the Windows test programs).
# shellcheck shell=bash

CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
CORVANE_BUILD=${CORVANE_BUILD:-$CORVANE_ROOT/build}

corvane_build_native() {
  cmake -S "$CORVANE_ROOT" -B "$CORVANE_BUILD/native" -G Ninja \
        -DCORVANE_WERROR="${CORVANE_WERROR:-ON}" >/dev/null &&
  cmake --build "$CORVANE_BUILD/native"
}

corvane_build_windows() {
  cmake -S "$CORVANE_ROOT" -B "$CORVANE_BUILD/win32" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$CORVANE_ROOT/cmake/mingw-i686.cmake" \
        -DCORVANE_WERROR="${CORVANE_WERROR:-ON}" >/dev/null &&
  cmake --build "$CORVANE_BUILD/win32"
}
