# The release package: corvane.exe built in release form and the files it
# opens beside it, with a readme, in build/corvane-<version>-<arch>.zip.
# shellcheck shell=bash

# The files the program needs beside corvane.exe: the one list. A file that
# the build does not make (yet) is left out of the package.
CORVANE_PACKAGE_FILES=(
  "speed up.swf"
  "KeltMask.skn"
  "KeltSpl.spl"
  "OrvHelp.chm"
  "Ping.wav"
  "low-memory.wav"
)

# The folder the package unzips to.
CORVANE_PACKAGE_FOLDER=Corvane

_corvane_package_toolchain() {
  case $1 in
    win32) echo "$CORVANE_ROOT/cmake/mingw-i686.cmake" ;;
    win64) echo "$CORVANE_ROOT/cmake/mingw-x86_64.cmake" ;;
    *) return 1 ;;
  esac
}

_corvane_package_strip() {
  case $1 in
    win32) echo i686-w64-mingw32-strip ;;
    win64) echo x86_64-w64-mingw32-strip ;;
  esac
}

# corvane_build_release <arch>: corvane.exe and its files, optimised, without
# the test programs, in build/release-<arch>. -O2 as in the tested builds
# (gcc 12's -O3 warns falsely about the rasterizer's sort).
corvane_build_release() {
  local arch=$1 toolchain
  toolchain=$(_corvane_package_toolchain "$arch") || { echo "unknown package: $arch" >&2; return 1; }
  cmake -S "$CORVANE_ROOT" -B "$CORVANE_BUILD/release-$arch" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCORVANE_TESTS=OFF -DCORVANE_WERROR=ON >/dev/null &&
  cmake --build "$CORVANE_BUILD/release-$arch"
}

# corvane_version <build tree>: the project's version, as the build read it.
corvane_version() {
  sed -n 's/^#define CORVANE_VERSION_TEXT "\([0-9.]*\).*/\1/p' "$1/shell/generated/CorvaneVersion.h"
}

# corvane_make_package <arch>: the zip from build/release-<arch>; prints its path.
corvane_make_package() {
  local arch=$1 tree bin version stage zip file readme
  tree="$CORVANE_BUILD/release-$arch"
  bin="$tree/bin"
  version=$(corvane_version "$tree")
  [[ -n "$version" && -f "$bin/corvane.exe" ]] || { echo "no release build in $tree" >&2; return 1; }
  stage="$CORVANE_BUILD/package-$arch"
  zip="$CORVANE_BUILD/corvane-$version-$arch.zip"
  rm -rf "$stage" "$zip"
  mkdir -p "$stage/$CORVANE_PACKAGE_FOLDER"
  "$(_corvane_package_strip "$arch")" -o "$stage/$CORVANE_PACKAGE_FOLDER/corvane.exe" "$bin/corvane.exe" || return 1
  for file in "${CORVANE_PACKAGE_FILES[@]}"; do
    [[ -f "$bin/$file" ]] && cp "$bin/$file" "$stage/$CORVANE_PACKAGE_FOLDER/"
  done
  # Notepad on Windows 9x wants CR LF.
  readme="$stage/$CORVANE_PACKAGE_FOLDER/README.txt"
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$CORVANE_ROOT/assets/package/README.txt" >"$readme"
  # Fixed times and order: the same sources give the same zip.
  find "$stage" -exec touch -h -d "@${SOURCE_DATE_EPOCH:-$(git -C "$CORVANE_ROOT" log -1 --format=%ct 2>/dev/null || echo 0)}" {} +
  (cd "$stage" && find "$CORVANE_PACKAGE_FOLDER" -type f | LC_ALL=C sort | zip -q -X -D "$zip" -@) || return 1
  echo "$zip"
}

# corvane_make_installer <arch>: the setup program from the zip's files
# (corvane_make_package first), built with NSIS from
# assets/package/corvane.nsi; prints its path,
# build/corvane-<version>-<arch>-setup.exe.
corvane_make_installer() {
  local arch=$1 tree version stage lists setup file name
  tree="$CORVANE_BUILD/release-$arch"
  version=$(corvane_version "$tree")
  stage="$CORVANE_BUILD/package-$arch/$CORVANE_PACKAGE_FOLDER"
  [[ -n "$version" && -f "$stage/corvane.exe" ]] || { echo "no package stage in $stage" >&2; return 1; }
  lists="$CORVANE_BUILD/installer-$arch/files.nsh"
  setup="$CORVANE_BUILD/corvane-$version-$arch-setup.exe"
  mkdir -p "${lists%/*}"
  {
    echo "; The package's files, written by tools/lib/package.sh."
    echo "!macro CorvaneInstallFiles"
    for file in "$stage"/*; do
      echo "  File \"$file\""
    done
    echo "!macroend"
    echo "!macro CorvaneRemoveFiles"
    for file in "$stage"/*; do
      name=${file##*/}
      echo "  Delete \"\$INSTDIR\\$name\""
    done
    echo "!macroend"
    [[ -f "$stage/OrvHelp.chm" ]] && echo "!define HAVE_HELP"
  } >"$lists"
  rm -f "$setup"
  makensis -V2 -NOCD -DVERSION="$version" -DARCH="$arch" -DSTAGE="$stage" -DLISTS="$lists" \
      -DICON="$CORVANE_ROOT/assets/corvane.ico" -DOUTFILE="$setup" \
      "$CORVANE_ROOT/assets/package/corvane.nsi" >&2 || return 1
  echo "$setup"
}
