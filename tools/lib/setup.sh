# Installs what building, running and testing Corvane needs on Debian 12.
# Quick when everything is there already: one dpkg query, no apt-get.
# shellcheck shell=bash

CORVANE_PACKAGES=(
  cmake ninja-build g++ make pkg-config
  mingw-w64 g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 wine64
  xvfb x11-utils xdotool imagemagick
  googletest
  fp-utils
  iproute2 procps util-linux
  python3 zip unzip nsis
  locales
)

corvane_missing_packages() {
  local missing=() pkg status
  for pkg in "${CORVANE_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "installed" ]] || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

corvane_setup() {
  local missing
  missing=$(corvane_missing_packages)
  if [[ -z "$missing" ]]; then
    return 0
  fi
  echo "corvane: installing: $missing"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "corvane: need root (or sudo) to install: $missing" >&2; return 1; }
    sudo=(sudo)
  fi
  # wine32 comes from the i386 architecture; it must be installed before any
  # Wine prefix is made, or the prefix cannot load kernel32.dll.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}
