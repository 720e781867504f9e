# Wine for tests and runs: a template prefix made once per Wine version and
# copied for each run (a copy takes well under a second, a fresh prefix
# several), a Windows version per prefix, and a virtual display.
# Only the processes started here are ever stopped, by PID or by their own
# prefix's wineserver.
# shellcheck shell=bash

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer may pop up and block a run.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

CORVANE_CACHE=${CORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/corvane}

# The program is a 32-bit Windows program and runs under Wine's 32-bit
# loader. Some machines run 64-bit Linux code only (IA-32 emulation off in
# the kernel: every 32-bit executable fails with "Exec format error"); there
# the Windows tests run the 64-bit build of the same sources under wine64
# instead, through a `wine` first on PATH. CORVANE_WINE_ARCH (win32 or win64)
# says which; set it to force one.
corvane_wine_arch() {
  if [[ -z "${CORVANE_WINE_ARCH:-}" ]]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
      CORVANE_WINE_ARCH=win32
    else
      CORVANE_WINE_ARCH=win64
    fi
  fi
  export CORVANE_WINE_ARCH
  if [[ "$CORVANE_WINE_ARCH" == win64 && -z "${CORVANE_WINE64_SHIM:-}" ]]; then
    CORVANE_WINE64_SHIM=$CORVANE_CACHE/wine64-shim
    mkdir -p "$CORVANE_WINE64_SHIM"
    local name
    # wineboot and the other tool scripts start `wine-stable` by name.
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
        >"$CORVANE_WINE64_SHIM/$name.tmp"
      chmod +x "$CORVANE_WINE64_SHIM/$name.tmp"
      mv -f "$CORVANE_WINE64_SHIM/$name.tmp" "$CORVANE_WINE64_SHIM/$name"
    done
    export CORVANE_WINE64_SHIM
    export PATH="$CORVANE_WINE64_SHIM:$PATH"
    export WINEARCH=win64
  fi
}

corvane_wine_template() {
  local version key template
  corvane_wine_arch
  version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
  key="wine-template-${version}-$(dpkg --print-architecture)-$CORVANE_WINE_ARCH"
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
