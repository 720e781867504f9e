#!/usr/bin/env bash
# The set-up (tools/lib/setup.sh) against a fake apt-get, dpkg and
# dpkg-query on PATH: no network, no root, nothing on the machine changes.
# Each case gives the packages dpkg has and how the mirror behaves, and
# checks what set-up ends with and which apt-get commands it ran.
# Each case runs in a subshell of its own, with the fakes first on PATH.
# shellcheck disable=SC2030,SC2031,SC1091
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-setup-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fakes=$work/bin
mkdir -p "$fakes"

# dpkg's database: one line per package, "name status version".
cat >"$fakes/dpkg-query" <<'FAKE'
#!/bin/sh
# Prints "name status version" for each package named last that the db has.
shift 2
for pkg in "$@"; do grep -m1 "^$pkg " "$FAKE_STATE/db"; done
FAKE
cat >"$fakes/dpkg" <<'FAKE'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$FAKE_STATE/arches" ;;
  --add-architecture) echo "dpkg $*" >>"$FAKE_STATE/log"; echo "$2" >>"$FAKE_STATE/arches" ;;
  --compare-versions) exec /usr/bin/dpkg "$@" ;;
  --configure) echo "dpkg $*" >>"$FAKE_STATE/log"; sed -i 's/ unpacked / installed /' "$FAKE_STATE/db" ;;
  *) exit 2 ;;
esac
FAKE
# FAKE_UPDATE_FAILS: how many updates in a row miss an index (each one
# returns success unless asked to fail on any error, as apt-get does).
# FAKE_INSTALL: "works", "main-only" (works only with the main suite
# preferred) or "broken".
cat >"$fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE_STATE/log"
case $1 in
  update)
    n=$(cat "$FAKE_STATE/updates" 2>/dev/null || echo 0)
    echo $((n + 1)) >"$FAKE_STATE/updates"
    if ((n < FAKE_UPDATE_FAILS)); then
      echo "E: Failed to fetch .../i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
      [[ " $* " == *" --error-on=any "* ]] && exit 100
    fi
    exit 0 ;;
  install)
    shift
    main=0 pkgs=()
    while (($#)); do
      case $1 in
        -t) [[ $2 == bookworm ]] && main=1; shift ;;
        -*) ;;
        *) pkgs+=("$1") ;;
      esac
      shift
    done
    if [[ $FAKE_INSTALL == broken || ($FAKE_INSTALL == main-only && $main == 0) ]]; then
      echo "E: Unable to correct problems, you have held broken packages." >&2
      exit 100
    fi
    for pkg in "${pkgs[@]}"; do
      version=1.0
      [[ $pkg == qemu-user-static ]] && version=1:10.0.2+ds-2
      sed -i "/^$pkg /d" "$FAKE_STATE/db"
      echo "$pkg installed $version" >>"$FAKE_STATE/db"
    done ;;
  *) exit 2 ;;
esac
FAKE
printf '#!/bin/sh\nexec "$@"\n' >"$fakes/sudo"
printf '#!/bin/sh\n' >"$fakes/sleep"
chmod +x "$fakes"/*

failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# run_case <name> <db lines> <update fails> <install> <expected status>
#          <expected apt-get commands, one per line>
# The db lines use "@all" for every package of the set-up's list.
run_case() {
  case_name=$1
  local db=$2 status expected_log log
  export FAKE_STATE=$work/$case_name FAKE_UPDATE_FAILS=$3 FAKE_INSTALL=$4
  mkdir -p "$FAKE_STATE/etc/sources.list.d" "$FAKE_STATE/etc/preferences.d"
  echo i386 >"$FAKE_STATE/arches"
  : >"$FAKE_STATE/log"
  (
    export PATH="$fakes:$PATH" CORVANE_APT_ETC=$FAKE_STATE/etc
    # shellcheck source=/dev/null
    source "$root/tools/lib/setup.sh"
    : >"$FAKE_STATE/db"
    local line pkg
    while IFS= read -r line; do
      [[ -z "$line" ]] && continue
      if [[ "$line" == @all* ]]; then
        for pkg in "${CORVANE_PACKAGES[@]}"; do echo "$pkg${line#@all}" >>"$FAKE_STATE/db"; done
      else
        sed -i "/^${line%% *} /d" "$FAKE_STATE/db"
        echo "$line" >>"$FAKE_STATE/db"
      fi
    done <<<"$db"
    corvane_setup >"$FAKE_STATE/out" 2>&1
  )
  status=$?
  [[ $status == "$5" ]] || fail "set-up returned $status, expected $5"
  expected_log=$(printf '%s\n' "$6" | sed '/^$/d')
  log=$(grep '^apt-get' "$FAKE_STATE/log" | sed -e 's/ -y -qq --no-install-recommends//' -e 's/ \(install\( -t bookworm\)\?\) .*/ \1/')
  [[ "$log" == "$expected_log" ]] || fail "apt-get ran:"$'\n'"$log"$'\n'"expected:"$'\n'"$expected_log"
  if [[ $failures -ne 0 ]]; then sed 's/^/  | /' "$FAKE_STATE/out"; fi
}

update="apt-get update -qq --error-on=any"

# Everything there: not one apt-get command.
run_case all-there "@all installed 1:10.0.2" 0 works 0 ""

# A fresh machine, mirror in order.
run_case fresh "" 0 works 0 "$update
apt-get install"

# The mirror in mid-sync: the update misses an index twice, and the
# install of wine32 works only with the main suite for both architectures.
run_case mid-sync "" 2 main-only 0 "$update
$update
$update
apt-get install
apt-get install -t bookworm"

# The index stays missing: the set-up says so and installs from what it has.
run_case index-stays-missing "" 9 main-only 0 "$update
$update
$update
apt-get install
apt-get install -t bookworm"

# Nothing installs: a failure, not a half-done success.
run_case broken "" 0 broken 1 "$update
apt-get install
apt-get install -t bookworm"

# Debian 12's own qemu-user (7.2) cannot run 32-bit Wine: it counts as missing.
run_case old-qemu "@all installed 1:10.0.2
qemu-user-static installed 1:7.2+dfsg-7" 0 works 0 "$update
apt-get install"

# A run stopped half-way left wine32 unpacked: it counts as missing, and
# dpkg finishes its configuration before apt-get installs anything.
run_case half-installed "@all installed 1:10.0.2
wine32:i386 unpacked 8.0" 0 works 0 "$update
apt-get install"

# Checks beyond the apt-get commands.
FAKE_STATE=$work/mid-sync
case_name=mid-sync-messages
grep -q 'Mirror sync\|mid-sync' "$FAKE_STATE/out" || fail "no word of the failed update"
grep -q 'main\|bookworm suite' "$FAKE_STATE/out" || fail "no word of the retry with the main suite"
grep -q '^qemu-user-static installed 1:10' "$FAKE_STATE/db" || fail "qemu-user-static not installed"
grep -qx 'Suites: bookworm-backports' "$FAKE_STATE/etc/sources.list.d/corvane-backports.sources" ||
  fail "no backports sources entry"
grep -qx 'Pin-Priority: 100' "$FAKE_STATE/etc/preferences.d/corvane-backports" || fail "no backports pin"
# The backports qemu-user-static depends on qemu-user and qemu-user-binfmt of
# its own version: all three come from there, or the install fails.
for pkg in qemu-user-static qemu-user qemu-user-binfmt; do
  awk -v pkg="$pkg" '/^Package:/ { hit = 0; for (i = 2; i <= NF; i++) if ($i == pkg) hit = 1 }
                     hit && /^Pin-Priority: 990$/ { found = 1 } END { exit !found }' \
      "$FAKE_STATE/etc/preferences.d/corvane-backports" || fail "$pkg is not taken from backports"
done
case_name=index-stays-missing-message
grep -q 'still misses' "$work/index-stays-missing/out" || fail "no word of the missing index"
case_name=broken-message
grep -q 'still missing' "$work/broken/out" || fail "no word of what is missing"
case_name=half-installed-configure
grep -q '^dpkg --configure -a' "$work/half-installed/log" || fail "dpkg --configure -a not run"
grep -q '^wine32:i386 installed' "$work/half-installed/db" || fail "wine32 not installed"
case_name=fresh-i386
grep -q '^dpkg --add-architecture' "$work/fresh/log" && fail "i386 added again"

# A second set-up with the files in place leaves them alone.
case_name=files-kept
before=$(stat -c %Y "$work/mid-sync/etc/preferences.d/corvane-backports")
(
  export PATH="$fakes:$PATH" CORVANE_APT_ETC=$work/mid-sync/etc FAKE_STATE=$work/mid-sync
  source "$root/tools/lib/setup.sh"
  sed -i '/^nsis /d' "$FAKE_STATE/db"
  corvane_setup
) >"$work/files-kept.out" 2>&1 || fail "second set-up failed"
grep -q 'writing' "$work/files-kept.out" && fail "apt's files written again"
[[ $(stat -c %Y "$work/mid-sync/etc/preferences.d/corvane-backports") == "$before" ]] || fail "pin file changed"

if ((failures)); then
  echo "setup test: $failures failure(s)"
  exit 1
fi
echo "setup test: all cases passed"
