# The release package as a user gets it: made with tools/package, unzipped
# into "Program Files" of a fresh prefix posing as this lane's Windows version
# and started from there (tests/release/package_test.sh). It packages the
# build this machine can run (CORVANE_WINE_ARCH, tools/lib/wine.sh): the
# 32-bit product where 32-bit code runs, else the 64-bit build of the same
# sources. The lanes share one package, made under a lock; each tests its
# own copy. The setup program made beside the zip is installed, used from
# the command line and uninstalled the same way (installer-<winver>).
# shellcheck shell=bash
source "$CORVANE_ROOT/tools/lib/package.sh"

corvane_package_check() {
  local winver=$1 arch copy status=0
  corvane_wine_arch
  arch=${CORVANE_PACKAGE_ARCH:-$CORVANE_WINE_ARCH}
  copy=$(mktemp -d "${TMPDIR:-/tmp}/corvane-package.XXXXXX")
  (
    flock 9
    CORVANE_PACKAGE_ARCH=$arch "$CORVANE_ROOT/tools/package" || exit 1
    cp "$CORVANE_BUILD/corvane-$(corvane_version "$CORVANE_BUILD/release-$arch")-$arch.zip" "$copy/"
  ) 9>"$CORVANE_BUILD/package-$arch.lock" || { rm -rf "$copy"; return 1; }
  bash "$CORVANE_ROOT/tests/release/package_test.sh" "$copy"/corvane-*.zip "$winver" \
      "$CORVANE_BUILD/screenshots/$winver/package.png" || status=1
  rm -rf "$copy"
  return $status
}

# The setup program made beside the zip, as an administrator uses it:
# silent install, the command line, silent uninstall with the restore
# (tests/release/installer_test.sh).
corvane_installer_check() {
  local winver=$1 arch copy status=0
  corvane_wine_arch
  arch=${CORVANE_PACKAGE_ARCH:-$CORVANE_WINE_ARCH}
  copy=$(mktemp -d "${TMPDIR:-/tmp}/corvane-installer.XXXXXX")
  (
    flock 9
    CORVANE_PACKAGE_ARCH=$arch "$CORVANE_ROOT/tools/package" >/dev/null || exit 1
    cp "$CORVANE_BUILD/corvane-$(corvane_version "$CORVANE_BUILD/release-$arch")-$arch-setup.exe" "$copy/"
  ) 9>"$CORVANE_BUILD/package-$arch.lock" || { rm -rf "$copy"; return 1; }
  bash "$CORVANE_ROOT/tests/release/installer_test.sh" "$copy"/corvane-*-setup.exe "$winver" \
      "$CORVANE_BUILD/screenshots/$winver/installed.png" || status=1
  rm -rf "$copy"
  return $status
}

for winver in $CORVANE_WINE_VERSIONS; do
  corvane_suite "package-$winver" corvane_package_check "$winver"
  corvane_suite "installer-$winver" corvane_installer_check "$winver"
done
