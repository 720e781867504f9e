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
# The package is unzipped under a folder whose name no ANSI code page holds
# ("Työkalut ✓"), as a user's folder may be named: the program reaches its
# files there through the folder's 8.3 short form, which the check resolves
# through Wine.
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
source "$CORVANE_ROOT/tests/release/main_window.sh"
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
  local remove=$1 log=$2 pid
  START_PREFIX=$(corvane_wine_prefix "$winver") || return 1
  local program_files="$START_PREFIX/drive_c/Program Files/$PARENT_FOLDER"
  mkdir -p "$program_files"
  unzip -q "$zip" -d "$program_files" || return 1
  START_FOLDER="$program_files/$CORVANE_PACKAGE_FOLDER"
  [[ -z "$remove" ]] || rm -f "$START_FOLDER/$remove"
  # Started as Explorer would, from another current folder.
  (cd "$START_PREFIX/drive_c" &&
   WINEPREFIX="$START_PREFIX" WINEDEBUG=-all,trace+file \
     exec wine "C:\\Program Files\\$PARENT_FOLDER\\$CORVANE_PACKAGE_FOLDER\\corvane.exe") >"$log" 2>&1 &
  pid=$!
  START_WINDOW=0
  wait_for_main_window 120 "$pid" && START_WINDOW=1
  # Start-up goes on after the window shows (splash, movie, skin).
  sleep 4
}

stop_start() {
  local pid_prefix=$1
  corvane_wine_discard "$pid_prefix"
}

# The files in the program's folder that the program opened or looked for
# (its own CreateFile and GetFileAttributes calls in Wine's file trace; the
# loader's own probes for DLLs and a manifest go through other calls), by
# their long names. The program may name its folder in its 8.3 short form,
# so every traced path is resolved by Wine (one winepath for all of them,
# while the prefix still exists) and kept when it lies in the folder. The
# Backups folder and what is in it are the program's own to make.
# record_opened <log> <prefix> <folder>: prints those names.
record_opened() {
  local log=$1 prefix=$2 folder=$3
  local -a short=()
  local long
  # The trace's paths, decoded: "\\" is a backslash, "\XXXX" the character
  # of that code. Those that start with the folder's long name are named
  # here; the others on drive C (ASCII: 8.3 forms among them) go to winepath.
  long=$(python3 - "$log" "C:\\Program Files\\$PARENT_FOLDER\\$CORVANE_PACKAGE_FOLDER\\" <<'PY'
import re, sys
calls = re.compile(r'trace:file:(?:CreateFileW|GetFileAttributesW|GetFileAttributesExW) L"((?:[^"\\]|\\.)*)"')
def decode(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and text[i + 1:i + 2] == "\\":
            out.append("\\"); i += 2
        elif text[i] == "\\" and re.fullmatch(r"[0-9a-fA-F]{4}", text[i + 1:i + 5] or ""):
            out.append(chr(int(text[i + 1:i + 5], 16))); i += 5
        else:
            out.append(text[i]); i += 1
    return "".join(out)
folder = sys.argv[2].lower()
named, short = set(), []
with open(sys.argv[1], encoding="utf-8", errors="replace") as f:
    for line in f:
        for raw in calls.findall(line):
            path = decode(raw)
            if path.lower().startswith(folder):
                rest = path[len(folder):]
                if rest and "\\" not in rest:
                    named.add("N " + rest)
            elif re.match(r"(?i)^c:\\", path) and path.isascii() and path not in short:
                short.append(path)
print("\n".join(sorted(named) + ["S " + p for p in short]))
PY
)
  mapfile -t short < <(sed -n 's/^S //p' <<<"$long")
  {
    sed -n 's/^N //p' <<<"$long"
    if [[ ${#short[@]} -gt 0 ]]; then
      WINEPREFIX="$prefix" WINEDEBUG=-all wine winepath.exe -u "${short[@]}" 2>/dev/null |
        while IFS= read -r unix; do
          [[ -n "$unix" ]] || continue
          unix=${unix%/}
          [[ "$(realpath -m "$(dirname "$unix")")" == "$(realpath -m "$folder")" ]] && basename "$unix"
        done
    fi
  } | grep -v -i -x -e backups -e corvane.exe | sort -u
}

# files_missing <opened-list> <folder>: prints each opened file the folder lacks.
files_missing() {
  local opened=$1 folder=$2 file
  while IFS= read -r file; do
    [[ -n "$file" ]] || continue
    [[ -e "$folder/$file" ]] || echo "$file"
  done <"$opened"
}

# No ANSI code page holds the check mark; the rest is Finnish.
PARENT_FOLDER="Työkalut ✓"
opened_list=$(mktemp "${TMPDIR:-/tmp}/corvane-opened.XXXXXX")
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
record_opened "$log" "$START_PREFIX" "$START_FOLDER" >"$opened_list"
echo "files the program opened in its folder ($PARENT_FOLDER\\$CORVANE_PACKAGE_FOLDER):"
sed 's/^/  /' "$opened_list"
opened=$(grep -c . "$opened_list")
[[ $opened -gt 0 ]] || fail "the file trace shows no file opened in the program's folder"
missing=$(files_missing "$opened_list" "$START_FOLDER")
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
taken=$(while IFS= read -r f; do
          grep -qxF "$CORVANE_PACKAGE_FOLDER/$f" <<<"$listing" && { echo "$f"; break; }; done <"$opened_list")
if [[ -n "$taken" ]]; then
  start_from_program_files "$taken" "$log" || fail "could not unzip for the second start"
  record_opened "$log" "$START_PREFIX" "$START_FOLDER" >"$opened_list"
  missing=$(files_missing "$opened_list" "$START_FOLDER")
  if grep -qxF "$taken" <<<"$missing"; then
    echo "a package without \"$taken\" is caught"
  else
    fail "a package without \"$taken\" was not caught (missing: ${missing:-none})"
  fi
  stop_start "$START_PREFIX"
else
  fail "no packaged file was opened, so the missing-file check is untested"
fi
rm -f "$log" "$opened_list"

echo "$failures failed"
[[ $failures -eq 0 ]]
