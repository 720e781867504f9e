#!/usr/bin/env bash
# Pictures of the setup program's pages and of the uninstall's questions, as
# a user sees them, for review (not part of the test run): the setup run
# through with the Enter key in a fresh prefix posing as the given Windows
# version, a preset applied from the command line so that a snapshot exists,
# then the uninstall run through the same way, answering Yes to the restore
# and to keeping the settings.
#   installer_pages.sh <setup.exe> <windows-version> <folder for the PNGs>
# Needs DISPLAY (a virtual display of the caller's).
set -uo pipefail

setup=$1
winver=$2
out=$3
CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$CORVANE_ROOT/tools/lib/wine.sh"
corvane_wine_arch
mkdir -p "$out"

prefix=$(corvane_wine_prefix "$winver") || exit 1
trap 'corvane_wine_discard "$prefix"' EXIT
export WINEPREFIX=$prefix
cp "$setup" "$prefix/drive_c/setup.exe"

# wait_title <regex>: until a visible window's title matches (60 s at most).
wait_title() {
  local i
  for ((i = 0; i < 60; i++)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 1
  done
  echo "no window titled $1" >&2
  return 1
}
# page <name> <title regex> [key]: waits for the window, takes its picture,
# then presses key in it (Return when not given).
page() {
  local window
  wait_title "$2" || return 1
  sleep 2
  import -window root "$out/$1.png" 2>/dev/null && echo "picture: $out/$1.png"
  window=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | tail -n 1)
  xdotool windowactivate --sync "$window" 2>/dev/null
  xdotool key --window "$window" "${3:-Return}"
  sleep 2
}

(cd "$prefix/drive_c" && exec wine 'C:\setup.exe') >/dev/null 2>&1 &
page 1-welcome 'Setup$'
page 2-folder 'Setup$'
page 3-components 'Setup$'
page 4-finish 'Setup$'
sleep 5
wineserver -k 2>/dev/null
wineserver -w

(cd "$prefix/drive_c" && wine 'C:\Program Files\Corvane\corvane.exe' /apply 1) >/dev/null 2>&1
wineserver -w

(cd "$prefix/drive_c" && exec wine 'C:\Program Files\Corvane\uninstall.exe') >/dev/null 2>&1 &
page 5-uninstall-confirm 'Uninstall$'
page 6-uninstall-restore-question 'Uninstall$'
page 7-uninstall-restore-result 'Uninstall$'
page 8-uninstall-keep-question 'Uninstall$'
page 9-uninstall-done 'Uninstall$'
wineserver -w
