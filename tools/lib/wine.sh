# Wine for tests and runs: a template prefix made once per Wine version and
# copied for each run (a copy takes well under a second, a fresh prefix
# several), a Windows version per prefix, and a virtual display.
# Only the processes started here are ever stopped, by PID or by their own
# prefix's wineserver.
# shellcheck shell=bash

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer may pop up and block a run.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
CORVANE_CACHE=${CORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/corvane}

# The program is a 32-bit Windows program and runs under Wine's 32-bit
# loader. Three routes lead there, tried in this order; CORVANE_WINE_ROUTE
# names the one taken (set it to force one):
#   native32  the kernel runs 32-bit code itself.
#   qemu32    the kernel runs 64-bit code only (IA-32 emulation off: every
#             32-bit executable fails with "Exec format error"): each 32-bit
#             process runs under qemu-i386 (qemu-user 10 or later; Debian
#             12's 7.2 spins in 32-bit Wine), registered in a user and mount
#             namespace of each Wine command's own (tools/lib/qemu-route).
#   win64     neither: the 64-bit build of the same sources under wine64,
#             through a `wine` first on PATH. The 32-bit program is then not
#             tested at all, and every run says so loudly.
# CORVANE_WINE_ARCH (win32 or win64) follows from the route and says which
# build runs; CORVANE_WINE_ARCH=win64 alone still forces the last route.
corvane_wine_route() {
  if [[ -z "${CORVANE_WINE_ROUTE:-}" ]]; then
    if [[ "${CORVANE_WINE_ARCH:-}" == win64 ]]; then
      CORVANE_WINE_ROUTE=win64
    elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
      CORVANE_WINE_ROUTE=native32
    elif _corvane_qemu_route_works; then
      CORVANE_WINE_ROUTE=qemu32
    else
      CORVANE_WINE_ROUTE=win64
      corvane_untested_warning >&2
    fi
  fi
  export CORVANE_WINE_ROUTE
  # The tests read it to tell a reading that qemu-user corrupts (more than
  # 4 GiB, see tests/support/WineRoute.h) from a fault of the program.
  CORVANE_HOST_MEMORY_MIB=$(awk '/^MemTotal:/ { print int($2 / 1024) }' /proc/meminfo 2>/dev/null)
  export CORVANE_HOST_MEMORY_MIB
  case $CORVANE_WINE_ROUTE in
    native32) CORVANE_WINE_ARCH=win32 ;;
    qemu32)
      CORVANE_WINE_ARCH=win32
      if [[ ":$PATH:" != *":$CORVANE_ROOT/tools/lib/qemu-route:"* ]]; then
        export PATH="$CORVANE_ROOT/tools/lib/qemu-route:$PATH"
      fi ;;
    win64) CORVANE_WINE_ARCH=win64; _corvane_wine64_shim ;;
    *) echo "corvane: unknown CORVANE_WINE_ROUTE=$CORVANE_WINE_ROUTE (native32, qemu32 or win64)" >&2
       return 1 ;;
  esac
  export CORVANE_WINE_ARCH
}

# The old name: every caller wants the route.
corvane_wine_arch() { corvane_wine_route; }

# qemu-i386 10 or later, user namespaces allowed, and 32-bit Wine starting
# through them.
_corvane_qemu_route_works() {
  local qemu=${CORVANE_QEMU_I386:-/usr/bin/qemu-i386-static} version
  [[ -x "$qemu" && -x /usr/lib/wine/wine ]] || return 1
  version=$("$qemu" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
  [[ -n "$version" ]] && ((version >= 10)) || return 1
  timeout 60 "$CORVANE_ROOT/tools/lib/qemu-route/wine" --version >/dev/null 2>&1
}

# The line a run on the win64 route prints at its start and in its summary.
corvane_untested_warning() {
  echo "corvane: !!!!! THE 32-BIT PROGRAM WAS NOT TESTED !!!!! This kernel runs no 32-bit code and"
  echo "corvane: qemu-user 10 (qemu-user-static from bookworm-backports) in a user namespace is not"
  echo "corvane: available, so the Wine suites run the x86_64 build of the same sources under wine64."
}

# corvane_wine_route_line: the route, for the logs.
corvane_wine_route_line() {
  case ${CORVANE_WINE_ROUTE:-} in
    native32) echo "route native32: the 32-bit program under 32-bit Wine, run by the kernel" ;;
    qemu32) echo "route qemu32: the 32-bit program under 32-bit Wine, run by $("${CORVANE_QEMU_I386:-/usr/bin/qemu-i386-static}" --version 2>/dev/null | head -n 1) in a user namespace" ;;
    *) echo "route win64: the x86_64 build under wine64 (the 32-bit program is not tested)" ;;
  esac
}

# corvane_pe_machine <file.exe>: the machine type of a Windows executable,
# as 0x14c (i386) or 0x8664 (x86-64); "none" for a file that is not one.
corvane_pe_machine() {
  local offset signature machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [[ -n "$offset" ]] || { echo none; return; }
  signature=$(od -An -tx1 -j"$offset" -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tu2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  if [[ "$signature" == 50450000 && -n "$machine" ]]; then
    printf '0x%x\n' "$machine"
  else
    echo none
  fi
}

_corvane_wine64_shim() {
  [[ -n "${CORVANE_WINE64_SHIM:-}" ]] && return 0
  CORVANE_WINE64_SHIM=$CORVANE_CACHE/wine64-shim
  mkdir -p "$CORVANE_WINE64_SHIM"
  local name
  # wineboot and the other tool scripts start `wine-stable` by name.
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$CORVANE_WINE64_SHIM/$name.tmp.$$"
    chmod +x "$CORVANE_WINE64_SHIM/$name.tmp.$$"
    mv -f "$CORVANE_WINE64_SHIM/$name.tmp.$$" "$CORVANE_WINE64_SHIM/$name"
  done
  export CORVANE_WINE64_SHIM
  export PATH="$CORVANE_WINE64_SHIM:$PATH"
  export WINEARCH=win64
}

corvane_wine_template() {
  local version key template
  corvane_wine_route || return 1
  version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
  # Keyed by route: a prefix made by another loader or under another
  # emulation is not shared (a 32-bit prefix boots in about 23 s under qemu).
  key="wine-template-${version}-$(dpkg --print-architecture)-$CORVANE_WINE_ROUTE"
  template="$CORVANE_CACHE/$key"
  mkdir -p "$CORVANE_CACHE"
  (
    flock 9
    if [[ ! -f "$template/.ready" ]]; then
      rm -rf "$template.tmp"
      mkdir -p "$template.tmp"
      WINEPREFIX="$template.tmp" timeout 300 wineboot -i >/dev/null 2>&1
      WINEPREFIX="$template.tmp" timeout 60 wineserver -w
      touch "$template.tmp/.ready"
      rm -rf "$template"
      mv "$template.tmp" "$template"
    fi
  ) 9>"$CORVANE_CACHE/$key.lock"
  echo "$template"
}

# corvane_wine_prefix <windows-version>: prints the path of a new throwaway
# prefix that poses as that Windows version (win95 ... win10).
corvane_wine_prefix() {
  local winver=$1 template prefix
  template=$(corvane_wine_template) || return 1
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/corvane-wine.XXXXXX")
  cp -a "$template/." "$prefix/"
  rm -f "$prefix/.ready"
  # The server is not running for this copy yet, so its registry file can be
  # extended directly: Wine merges a repeated key section when it loads.
  printf '\n[Software\\\\Wine] 1700000000\n"Version"="%s"\n' "$winver" >>"$prefix/user.reg"
  echo "$prefix"
}

# corvane_wine_stop <prefix>: ends that prefix's wineserver and its programs.
corvane_wine_stop() {
  local prefix=$1
  [[ -d "$prefix" ]] || return 0
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" timeout 30 wineserver -w 2>/dev/null || true
}

corvane_wine_discard() {
  local prefix=$1
  corvane_wine_stop "$prefix"
  [[ "$prefix" == "${TMPDIR:-/tmp}"/corvane-wine.* ]] && rm -rf "$prefix"
}

# corvane_xvfb_start: starts a virtual display of our own and exports
# DISPLAY; its PID goes to CORVANE_XVFB_PID.
corvane_xvfb_start() {
  local fifo display
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/corvane-xvfb.XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${CORVANE_SCREEN:-1024x768x24}" -nolisten tcp -noreset \
       3>"$fifo" >/dev/null 2>&1 &
  CORVANE_XVFB_PID=$!
  read -r -t 20 display <"$fifo" || display=""
  rm -f "$fifo"
  if [[ -z "$display" ]]; then
    echo "corvane: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$display"
}

corvane_xvfb_stop() {
  if [[ -n "${CORVANE_XVFB_PID:-}" ]]; then
    kill "$CORVANE_XVFB_PID" 2>/dev/null || true
    wait "$CORVANE_XVFB_PID" 2>/dev/null || true
    CORVANE_XVFB_PID=
  fi
}
