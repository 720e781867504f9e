# Installs what building, running and testing Corvane needs on Debian 12.
# Quick when everything is there already: one dpkg query, no apt-get.
#
# qemu-user-static comes from bookworm-backports (Debian 12's own 7.2 cannot
# run 32-bit Wine, see tools/lib/wine.sh): a sources entry of its own, and a
# pin that lets nothing else come from there but qemu-user-static and the
# two packages of the same version it depends on in that suite (qemu-user,
# qemu-user-binfmt): a pin on qemu-user-static alone leaves those at 7.2 and
# the install fails.
#
# A Debian mirror in mid-sync serves some package index at the wrong size;
# apt-get update then drops that index and still succeeds, and the install
# can fail ("held broken packages") when the amd64 and i386 halves of a
# Multi-Arch package would come from different suites at different
# versions. So the update is retried, and a failed install is retried once
# with the main suite preferred for both architectures. Whatever happens, a
# package counts as there only when dpkg has it fully installed, so a run
# that stopped half-way is finished by the next one.
# shellcheck shell=bash

CORVANE_PACKAGES=(
  cmake ninja-build g++ make pkg-config
  mingw-w64 g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 wine64
  qemu-user-static
  xvfb x11-utils xdotool imagemagick
  googletest
  fp-utils
  nsis
  iproute2 procps util-linux
  python3 zip unzip
  locales
)

# Debian 12's suite, and the oldest qemu-user that runs 32-bit Wine.
CORVANE_DEBIAN_SUITE=${CORVANE_DEBIAN_SUITE:-bookworm}
CORVANE_QEMU_MIN_VERSION=${CORVANE_QEMU_MIN_VERSION:-1:10}
# Where apt's settings live, how often the update is tried and the pause
# between tries (seconds): a mirror's sync usually ends within minutes.
CORVANE_APT_ETC=${CORVANE_APT_ETC:-/etc/apt}
CORVANE_UPDATE_TRIES=${CORVANE_UPDATE_TRIES:-3}
CORVANE_UPDATE_PAUSE=${CORVANE_UPDATE_PAUSE:-20}

# The packages of the list that dpkg does not have fully installed (one
# that a stopped run left unpacked counts as missing), and a qemu-user too
# old for 32-bit Wine. One dpkg query.
corvane_missing_packages() {
  local missing=() pkg name status version
  local -A have=()
  while read -r name status version; do
    [[ "$status" == installed ]] || continue
    [[ "$name" == qemu-user-static* ]] &&
      ! dpkg --compare-versions "$version" ge "$CORVANE_QEMU_MIN_VERSION" && continue
    have[${name%:amd64}]=1
  done < <(dpkg-query -W -f='${binary:Package} ${db:Status-Status} ${Version}\n' "${CORVANE_PACKAGES[@]}" 2>/dev/null)
  for pkg in "${CORVANE_PACKAGES[@]}"; do
    [[ -n "${have[$pkg]:-}" ]] || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

_corvane_backports_sources() {
  cat <<EOF
Types: deb
URIs: http://deb.debian.org/debian
Suites: $CORVANE_DEBIAN_SUITE-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
}

# Nothing comes from backports unless asked for; qemu-user-static and its
# own dependencies are asked for here once and for all, so that every
# install (the main-suite retry's included) takes them from there.
_corvane_backports_pin() {
  cat <<EOF
Package: *
Pin: release n=$CORVANE_DEBIAN_SUITE-backports
Pin-Priority: 100

Package: qemu-user-static qemu-user qemu-user-binfmt
Pin: release n=$CORVANE_DEBIAN_SUITE-backports
Pin-Priority: 990
EOF
}

# _corvane_apt_file <path> <function>: writes what the function prints to
# the file unless it holds exactly that already.
_corvane_apt_file() {
  local path=$1 content
  content=$("$2")
  [[ -f "$path" && "$(cat "$path")" == "$content" ]] && return 0
  echo "corvane: writing $path"
  printf '%s\n' "$content" | "${_corvane_sudo[@]}" tee "$path" >/dev/null
}

_corvane_apt() {
  "${_corvane_sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@"
}

# apt-get update, failing on any index it could not fetch, tried a few
# times. When every try leaves an index out, the install goes on with what
# was fetched (and may still work): said plainly, not an error yet.
_corvane_apt_update() {
  local try
  for ((try = 1; try <= CORVANE_UPDATE_TRIES; try++)); do
    _corvane_apt update -qq --error-on=any && return 0
    if ((try < CORVANE_UPDATE_TRIES)); then
      echo "corvane: apt-get update could not fetch every package index (try $try of $CORVANE_UPDATE_TRIES;" \
           "a mirror in mid-sync serves indexes of the wrong size); trying again in ${CORVANE_UPDATE_PAUSE}s" >&2
      sleep "$CORVANE_UPDATE_PAUSE"
    fi
  done
  echo "corvane: apt-get update still misses some package index after $CORVANE_UPDATE_TRIES tries;" \
       "installing from the indexes it has" >&2
}

corvane_setup() {
  local missing
  missing=$(corvane_missing_packages)
  if [[ -z "$missing" ]]; then
    return 0
  fi
  echo "corvane: installing: $missing"
  _corvane_sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "corvane: need root (or sudo) to install: $missing" >&2; return 1; }
    _corvane_sudo=(sudo)
  fi
  # wine32 comes from the i386 architecture; it must be installed before any
  # Wine prefix is made, or the prefix cannot load kernel32.dll.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${_corvane_sudo[@]}" dpkg --add-architecture i386 || return 1
  fi
  _corvane_apt_file "$CORVANE_APT_ETC/sources.list.d/corvane-backports.sources" _corvane_backports_sources &&
  _corvane_apt_file "$CORVANE_APT_ETC/preferences.d/corvane-backports" _corvane_backports_pin || return 1
  _corvane_apt_update
  # A run that was stopped half-way may have left packages unpacked but not
  # configured; apt-get refuses to install anything until they are.
  "${_corvane_sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
  # shellcheck disable=SC2086
  if ! _corvane_apt install -y -qq --no-install-recommends $missing; then
    echo "corvane: the install failed; trying once more with the $CORVANE_DEBIAN_SUITE suite preferred" \
         "over its security and update suites, so that the amd64 and i386 halves of a package come" \
         "from the same suite at the same version" >&2
    # shellcheck disable=SC2086
    _corvane_apt install -y -qq --no-install-recommends -t "$CORVANE_DEBIAN_SUITE" $missing
  fi
  missing=$(corvane_missing_packages)
  if [[ -n "$missing" ]]; then
    echo "corvane: set-up failed; still missing: $missing" >&2
    return 1
  fi
  echo "corvane: set-up done"
}
