# The two builds: native (portable code and unit tests, with sanitizers) and
# Windows (mingw-w64, 32-bit: the program and the Windows test programs).
# Each tree is a preset of CMakePresets.json (native, win32, win64), built
# here in CORVANE_BUILD (build/ unless set).
# shellcheck shell=bash

CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
CORVANE_BUILD=${CORVANE_BUILD:-$CORVANE_ROOT/build}

corvane_build_native() {
  (cd "$CORVANE_ROOT" && cmake --preset native -B "$CORVANE_BUILD/native" \
        -DCORVANE_WERROR="${CORVANE_WERROR:-ON}" >/dev/null) &&
  cmake --build "$CORVANE_BUILD/native"
}

# corvane_build_windows [target...]: the 32-bit tree (the program users
# get). On a machine that runs 64-bit code only (CORVANE_WINE_ARCH=win64, see
# tools/lib/wine.sh) the 32-bit tree is still built whole, so that every
# program is checked with every warning, and a 64-bit tree of the same
# sources builds what the Windows tests run; with targets named, only the
# tree that runs builds them. corvane_win_bin names the folder the tests and
# runs take their programs from.
corvane_build_windows() {
  local targets=("$@") arch=${CORVANE_WINE_ARCH:-win32}
  if [[ $arch == win64 && ${#targets[@]} -eq 0 ]]; then
    _corvane_build_windows_tree win32 i686 &&
    _corvane_build_windows_tree win64 x86_64
  elif [[ $arch == win64 ]]; then
    _corvane_build_windows_tree win64 x86_64 "${targets[@]}"
  else
    _corvane_build_windows_tree win32 i686 "${targets[@]}"
  fi
}

_corvane_build_windows_tree() {
  local dir=$1
  shift 2
  local args=() config=() versions
  [[ $# -gt 0 ]] && args=(--target "$@")
  # CORVANE_WINE_VERSIONS (words) sets the tree's Windows lanes (a CMake
  # list); unset, the tree keeps the ones it has.
  if [[ -n "${CORVANE_WINE_VERSIONS:-}" ]]; then
    read -r -a versions <<<"$CORVANE_WINE_VERSIONS"
    config=("-DCORVANE_WINE_VERSIONS=$(IFS=';'; echo "${versions[*]}")")
  fi
  # The preset of the same name holds the generator and the toolchain file.
  (cd "$CORVANE_ROOT" && cmake --preset "$dir" -B "$CORVANE_BUILD/$dir" \
        -DCORVANE_WERROR="${CORVANE_WERROR:-ON}" "${config[@]}" >/dev/null) &&
  cmake --build "$CORVANE_BUILD/$dir" "${args[@]}"
}

# The folder of the Windows programs the tests and runs start.
corvane_win_bin() {
  if [[ ${CORVANE_WINE_ARCH:-win32} == win64 ]]; then
    echo "$CORVANE_BUILD/win64/bin"
  else
    echo "$CORVANE_BUILD/win32/bin"
  fi
}
