#!/usr/bin/env bash
# The release package as a user gets it: unzipped into "Program Files" of a
# fresh Windows (a throwaway Wine prefix posing as the given version), with
# corvane.exe started from there. Passes when
#   - the package holds corvane.exe, the readme and every file of the package
#     list that the release build made,
#   - corvane.exe carries the package's version in its version resource,
#   - the main window appears,
#   - every file the program opened or looked for in its folder during
#     start-up is in the package (checked by a second start with one of the
#     package's files taken away as well, which must be caught).
#   package_test.sh <zip> <windows-version> [screenshot.png]
# Needs DISPLAY (a virtual display of the caller's) and tools/lib/{wine,package}.sh.
set -uo pipefail

zip=$1
winver=$2
shot=${3:-}
CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
CORVANE_BUILD=${CORVANE_BUILD:-$CORVANE_ROOT/build}
source "$CORVANE_ROOT/tools/lib/wine.sh"
source "$CORVANE_ROOT/tools/lib/package.sh"
corvane_wine_arch  # the `wine` that runs this machine's build

name=$(basename "$zip" .zip)          # corvane-<version>-<arch>
arch=${name##*-}
version=${name#corvane-}
version=${version%-"$arch"}
case $arch in
  win32) windres=i686-w64-mingw32-windres ;;
  win64) windres=x86_64-w64-mingw32-windres ;;
  *) echo "FAIL: $zip is not named corvane-<version>-<win32|win64>.zip"; exit 1 ;;
esac
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# --- what the package holds ------------------------------------------------
listing=$(unzip -Z1 "$zip") || { echo "FAIL: cannot read $zip"; exit 1; }
release_bin="$CORVANE_BUILD/release-$arch/bin"
for file in corvane.exe README.txt "${CORVANE_PACKAGE_FILES[@]}"; do
  if grep -qxF "$CORVANE_PACKAGE_FOLDER/$file" <<<"$listing"; then
    echo "package holds: $file"
  elif [[ "$file" == corvane.exe || "$file" == README.txt || -f "$release_bin/$file" ]]; then
    fail "the package lacks $file"
  else
    echo "not built yet, so not packaged: $file"
  fi
done

# --- one start from Program Files --------------------------------------------
# start_from_program_files <remove-file or ""> <log>: unzips into a fresh
# prefix, optionally takes one file away, starts corvane.exe with the file
# trace on, waits for the main window. Sets START_PREFIX, START_FOLDER and
# START_WINDOW (1 when the main window appeared).
start_from_program_files() {
  local remove=$1 log=$2 pid i
  START_PREFIX=$(corvane_wine_prefix "$winver") || return 1
  local program_files="$START_PREFIX/drive_c/Program Files"
  mkdir -p "$program_files"
  unzip -q "$zip" -d "$program_files" || return 1
  START_FOLDER="$program_files/$CORVANE_PACKAGE_FOLDER"
  [[ -z "$remove" ]] || rm -f "$START_FOLDER/$remove"
  # Started as Explorer would, from another current folder.
  (cd "$START_PREFIX/drive_c" &&
   WINEPREFIX="$START_PREFIX" WINEDEBUG=-all,trace+file \
     exec wine "C:\\Program Files\\$CORVANE_PACKAGE_FOLDER\\corvane.exe") >"$log" 2>&1 &
  pid=$!
  START_WINDOW=0
  for ((i = 0; i < 120; i++)); do
    if main_window_visible; then
      START_WINDOW=1
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
  done
  # Start-up goes on after the window shows (splash, movie, skin).
  sleep 4
}

# The main window and the splash picture are both top-level windows named
# "Corvane"; the splash is 460 pixels wide (KeltSpl.spl), the main window
# wider.
main_window_visible() {
  local window width
  for window in $(xdotool search --onlyvisible --name '^Corvane$' 2>/dev/null); do
    width=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | sed -n 's/^WIDTH=//p')
    [[ -n "$width" && $width -gt 460 ]] && return 0
  done
  return 1
}

stop_start() {
  local pid_prefix=$1
  corvane_wine_discard "$pid_prefix"
}

# The files in the program's folder that the program opened or looked for
# (its own CreateFile and GetFileAttributes calls in Wine's file trace; the
# loader's own probes for DLLs and a manifest go through other calls). The
# Backups folder and what is in it are the program's own to make.
opened_program_files() {
  python3 - "$1" "$CORVANE_PACKAGE_FOLDER" <<'PY'
import re, sys
log, folder = sys.argv[1], sys.argv[2].lower()
calls = re.compile(r'trace:file:(?:CreateFileW|GetFileAttributesW|GetFileAttributesExW) L"([^"]*)"')
names = set()
with open(log, encoding="utf-8", errors="replace") as f:
    for line in f:
        for path in calls.findall(line):
            parts = path.replace("\\\\", "\\").split("\\")
            if (len(parts) == 4 and parts[0].lower() == "c:" and parts[1].lower() == "program files"
                    and parts[2].lower() == folder and parts[3]
                    and parts[3].lower() not in ("backups", "corvane.exe")):
                names.add(parts[3])
print("\n".join(sorted(names)))
PY
}

# files_missing <log> <folder>: prints each opened file the folder lacks.
files_missing() {
  local log=$1 folder=$2 file
  while IFS= read -r file; do
    [[ -e "$folder/$file" ]] || echo "$file"
  done < <(opened_program_files "$log")
}

log=$(mktemp "${TMPDIR:-/tmp}/corvane-package.XXXXXX")
start_from_program_files "" "$log" || { echo "FAIL: could not unzip into a fresh prefix"; exit 1; }
if [[ $START_WINDOW -eq 1 ]]; then
  echo "main window seen (Windows version $winver)"
  if [[ -n "$shot" ]]; then
    mkdir -p "$(dirname "$shot")"
    import -display "$DISPLAY" -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
  fi
else
  fail "no main window after starting corvane.exe from Program Files"
  tail -n 20 "$log"
fi
echo "files the program opened in its folder:"
opened_program_files "$log" | sed 's/^/  /'
opened=$(opened_program_files "$log" | wc -l)
[[ $opened -gt 0 ]] || fail "the file trace shows no file opened in the program's folder"
missing=$(files_missing "$log" "$START_FOLDER")
[[ -z "$missing" ]] || fail "the program opened files the package lacks: $missing"
# The version resource of the packaged program.
resource=$("$windres" -i "$START_FOLDER/corvane.exe" -O rc 2>/dev/null)
grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$resource" ||
  fail "corvane.exe's version resource does not say $version"
IFS=. read -r major minor patch <<<"$version"
grep -q "FILEVERSION $major, $minor, $patch, 0" <<<"$resource" ||
  fail "corvane.exe's FILEVERSION is not $major, $minor, $patch, 0"
stop_start "$START_PREFIX"

# --- the check above catches a missing file ----------------------------------
# Take away the first packaged file the program opened and start again.
taken=$(opened_program_files "$log" | while IFS= read -r f; do
          grep -qxF "$CORVANE_PACKAGE_FOLDER/$f" <<<"$listing" && { echo "$f"; break; }; done)
if [[ -n "$taken" ]]; then
  start_from_program_files "$taken" "$log" || fail "could not unzip for the second start"
  missing=$(files_missing "$log" "$START_FOLDER")
  if grep -qxF "$taken" <<<"$missing"; then
    echo "a package without \"$taken\" is caught"
  else
    fail "a package without \"$taken\" was not caught (missing: ${missing:-none})"
  fi
  stop_start "$START_PREFIX"
else
  fail "no packaged file was opened, so the missing-file check is untested"
fi
rm -f "$log"

echo "$failures failed"
[[ $failures -eq 0 ]]
