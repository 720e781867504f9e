#!/usr/bin/env bash
# The setup program as an administrator uses it, in a fresh Windows (a
# throwaway Wine prefix posing as the given version). Passes when
#   - a silent install puts the program into Program Files, the Start-menu
#     folder (Corvane, Help when built, Uninstall) and the Add/Remove entry
#     with version, size and publisher, and no start-with-Windows entry
#     unless /STARTUP asks for it;
#   - the installed program starts and shows its main window (screenshot);
#   - a second setup refuses to install over the running copy (exit code 2);
#   - corvane.exe /apply from the command line writes the preset and a
#     snapshot (exit code 0), a preset name in the wrong case changes nothing
#     (exit code 3);
#   - a silent uninstall with /RESTORE puts back every recorded network value
#     as it was before the first apply, removes the files, shortcuts and
#     entries, and keeps the snapshots.
#   installer_test.sh <setup.exe> <windows-version> [screenshot.png]
# Needs DISPLAY (a virtual display of the caller's) and tools/lib/wine.sh.
set -uo pipefail

setup=$1
winver=$2
shot=${3:-}
CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$CORVANE_ROOT/tools/lib/wine.sh"
source "$CORVANE_ROOT/tests/release/main_window.sh"
corvane_wine_arch
registry() { python3 "$CORVANE_ROOT/tests/release/wine_registry.py" "$@"; }

version=$(basename "$setup" -setup.exe)  # corvane-<version>-<arch>
version=${version#corvane-}
version=${version%-*}
failures=0
fail() { echo "FAIL [${SECONDS}s]: $*"; failures=$((failures + 1)); }
pass() { echo "ok [${SECONDS}s]: $*"; }

prefix=$(corvane_wine_prefix "$winver") || exit 1
trap 'corvane_wine_discard "$prefix"' EXIT
export WINEPREFIX=$prefix
# Where a silent install puts the program: Program Files, or on 64-bit
# Windows (a WoW64 prefix) Program Files (x86) for the 32-bit setup, whose
# uninstall entry then lives in the registry's 32-bit view.
programs='Program Files'
wow=''
use_programs() {
  programs=$1
  wow=$2
  folder="$prefix/drive_c/$programs/Corvane"
  exe="C:\\$programs\\Corvane\\corvane.exe"
}
use_programs 'Program Files' ''
cp "$setup" "$prefix/drive_c/setup.exe"
# The registry files hold every change once the prefix's server has ended.
settle() { wineserver -k 2>/dev/null; wineserver -w; }

# The keys the tuner writes, for this Windows version's family.
case $winver in
  win95|win98|winme)
    nine_x=1
    keys_lm=('System\CurrentControlSet\Services\VxD' 'System\CurrentControlSet\Services\Class\NetTrans')
    keys_cu=('Software\Microsoft\Windows\CurrentVersion\Internet Settings')
    ;;
  *)
    nine_x=0
    keys_lm=('System\CurrentControlSet\Services\Tcpip\Parameters' 'System\CurrentControlSet\Services\VxD'
             'System\CurrentControlSet\Services\{CORVANE-TEST}')
    keys_cu=('Software\Microsoft\Windows\CurrentVersion\Internet Settings')
    ;;
esac
network_state() {
  registry dump "$prefix" HKLM "${keys_lm[@]}"
  registry dump "$prefix" HKCU "${keys_cu[@]}" | grep -i 'maxconnections'
}

# --- silent install ------------------------------------------------------------
(cd "$prefix/drive_c" && timeout 120 wine 'C:\setup.exe' /S) >/dev/null 2>&1
status=$?
settle
[[ $status == 0 ]] && pass "silent install" || fail "silent install ended with $status"
if [[ ! -f "$folder/corvane.exe" && -f "$prefix/drive_c/Program Files (x86)/Corvane/corvane.exe" ]]; then
  use_programs 'Program Files (x86)' 'Wow6432Node\'
  pass "a 32-bit setup on 64-bit Windows: installed into $programs"
fi
for file in corvane.exe README.txt uninstall.exe; do
  [[ -f "$folder/$file" ]] || fail "not installed: $file"
done
menu=$(find "$prefix/drive_c" -path '*/Start Menu/Programs/Corvane' -type d | head -n 1)
if [[ -z "$menu" ]]; then
  fail "no Start-menu folder Corvane"
else
  for link in Corvane.lnk Uninstall.lnk; do
    [[ -f "$menu/$link" ]] || fail "Start menu lacks $link"
  done
  [[ ! -f "$folder/OrvHelp.chm" || -f "$menu/Help.lnk" ]] || fail "Start menu lacks Help.lnk"
  pass "Start menu: $(cd "$menu" && echo *)"
fi
uninstall="Software\\${wow}Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane"
[[ $(registry get "$prefix" HKLM "$uninstall" DisplayVersion) == "\"$version\"" ]] ||
  fail "the uninstall entry lacks DisplayVersion $version"
[[ $(registry get "$prefix" HKLM "$uninstall" Publisher) == '"Tarvik"' ]] ||
  fail "the uninstall entry lacks the publisher"
[[ $(registry get "$prefix" HKLM "$uninstall" EstimatedSize) == dword:* ]] ||
  fail "the uninstall entry lacks its size"
registry get "$prefix" HKLM "$uninstall" UninstallString >/dev/null || fail "no UninstallString"
run='Software\Microsoft\Windows\CurrentVersion\Run'
if registry get "$prefix" HKCU "$run" Sorbek >/dev/null; then
  fail "a silent install without /STARTUP added the start-with-Windows entry"
fi

# --- the installed program ---------------------------------------------------------
(cd "$prefix/drive_c" && exec wine "$exe") >/dev/null 2>&1 &
shown=0
wait_for_main_window 90 && shown=1
if [[ $shown == 1 ]]; then
  sleep 3
  pass "the installed program shows its main window"
  if [[ -n "$shot" ]]; then
    mkdir -p "$(dirname "$shot")"
    import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
  fi
  timeout 60 wine 'C:\setup.exe' /S >/dev/null 2>&1
  status=$?
  [[ $status == 2 ]] && pass "setup refuses while the program runs" ||
    fail "setup over the running copy ended with $status, not 2"
else
  fail "the installed program showed no main window"
fi
settle

# Installed again over itself, this time with the start-with-Windows entry.
(cd "$prefix/drive_c" && timeout 120 wine 'C:\setup.exe' /S /STARTUP) >/dev/null 2>&1
startup_status=$?

# --- the command line ---------------------------------------------------------------
# Every recorded value present beforehand, so that the restore must bring back
# exactly these.
reg_file="$prefix/drive_c/before.reg"
if [[ $nine_x == 1 ]]; then
  cat >"$reg_file" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\VxD\MSTCP]
"SackOpts"="1"
"Tcp1323Opts"="1"
"DefaultTTL"="100"
"DefaultRcvWindow"="65535"
"GlobalMaxTcpWindowSize"="65535"
"PMTUBlackHoleDetect"="1"
"PMTUDiscovery"="1"
"KeepAliveTime"="3000000"
"KeepAliveInterval"="2000"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\VxD\NWLink\Ndi\params\cachesize]
@="32"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\NetTrans\0000]
"MaxMTU"="1400"
"MaxMSS"="1360"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]
"MaxConnectionsPer1_0Server"="10"
"MaxConnectionsPerServer"="6"
EOF
else
  cat >"$reg_file" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Tcpip\Parameters]
"SackOpts"=dword:00000001
"Tcp1323Opts"=dword:00000001
"TcpMaxDupAcks"=dword:00000002
"DefaultReceiveWindow"=dword:00002000
"DefaultTTL"=dword:00000064
"GlobalMaxTcpWindowSize"=dword:0000ffff
"TcpWindowSize"=dword:0000ffff
"EnablePMTUBHDetect"=dword:00000001
"EnablePMTUDiscovery"=dword:00000001
"KeepAliveTime"=dword:002dc6c0
"KeepAliveInterval"=dword:000007d0
"SYNAttackProtect"=dword:00000001
"EnableICMPRedirects"=dword:00000001

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Tcpip\Parameters\Interfaces\{CORVANE-TEST}]
"MTU"=dword:00000578
"MSS"=dword:00000550

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\{CORVANE-TEST}\Parameters\Tcpip]
"MTU"=dword:00000578
"MSS"=dword:00000550

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\VxD\NWLink\Ndi\params\cachesize]
@=dword:00000020

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]
"MaxConnectionsPer1_0Server"=dword:0000000a
"MaxConnectionsPerServer"=dword:00000006
EOF
fi
wine regedit /S 'C:\before.reg' >/dev/null 2>&1
settle
entry=$(registry get "$prefix" HKCU "$run" Sorbek)
[[ $startup_status == 0 && $entry == "\"C:\\\\$programs\\\\Corvane\\\\corvane.exe\"" ]] &&
  pass "setup /S /STARTUP adds the start-with-Windows entry" ||
  fail "setup /S /STARTUP ended with $startup_status, entry ${entry:-absent}"
before=$(network_state)
[[ -n "$before" ]] || fail "the network values could not be read"
# One server for the runs of the command line (each start of a server costs
# seconds); the registry files are read after it has ended.
wineserver -p

# cli <expected exit code> <arguments...>
cli() {
  local expected=$1 status
  shift
  (cd "$prefix/drive_c" && timeout 60 wine "$exe" "$@") >/dev/null 2>&1
  status=$?
  [[ $status == "$expected" ]] && pass "corvane.exe $* -> $status" ||
    fail "corvane.exe $* ended with $status, not $expected; log: $(cat "$prefix/drive_c/cli.log" 2>/dev/null)"
}
cli 0 /apply 5 /log 'C:\cli.log'    # Automatic-E: TTL 64, MTU 1500
grep -q "Snapshot 001.BCK holds the settings from before." "$prefix/drive_c/cli.log" ||
  fail "the log does not name the snapshot: $(cat "$prefix/drive_c/cli.log")"
[[ -f "$folder/Backups/001.BCK" ]] || fail "no snapshot 001.BCK"
cli 3 /apply automatic-a /log 'C:\cli.log'
[[ ! -f "$folder/Backups/002.BCK" ]] || fail "a bad argument took a snapshot"
cli 0 /apply "Windows default" /log 'C:\cli.log'
cli 0 /list /log 'C:\cli.log'
grep -q "^002.BCK" "$prefix/drive_c/cli.log" || fail "/list does not name 002.BCK"
settle
# The last preset, "Windows default": TTL 32.
if [[ $nine_x == 1 ]]; then
  ttl=$(registry get "$prefix" HKLM 'System\CurrentControlSet\Services\VxD\MSTCP' DefaultTTL)
  [[ $ttl == '"32"' ]] || fail "DefaultTTL after /apply 8 is $ttl, not \"32\""
else
  ttl=$(registry get "$prefix" HKLM 'System\CurrentControlSet\Services\Tcpip\Parameters' DefaultTTL)
  [[ $ttl == dword:00000020 ]] || fail "DefaultTTL after /apply 8 is $ttl, not 32"
fi
[[ "$(network_state)" != "$before" ]] || fail "the applies changed nothing"

# --- silent uninstall with the restore -------------------------------------------------
# The uninstaller runs on from a copy of itself: wait for the prefix to settle.
(cd "$prefix/drive_c" && timeout 120 wine "C:\\$programs\\Corvane\\uninstall.exe" /S /RESTORE) \
    >/dev/null 2>&1
wineserver -w
grep -q "Restoring snapshot 001.BCK" "$folder/Backups/restore.log" 2>/dev/null ||
  fail "the uninstall did not restore 001.BCK: $(cat "$folder/Backups/restore.log" 2>/dev/null)"
after=$(network_state)
if [[ "$after" == "$before" ]]; then
  pass "every network value is back as before the first apply"
else
  fail "the network values differ from before the first apply:"
  diff <(echo "$before") <(echo "$after")
fi
for file in corvane.exe README.txt uninstall.exe; do
  [[ ! -e "$folder/$file" ]] || fail "left behind: $file"
done
for file in 001.BCK 002.BCK; do
  [[ -f "$folder/Backups/$file" ]] || fail "the uninstall deleted the snapshot $file"
done
[[ -z "$menu" || ! -e "$menu" ]] || fail "the Start-menu folder is left behind"
if registry get "$prefix" HKLM "$uninstall"; then fail "the uninstall entry is left behind"; fi
if registry get "$prefix" HKCU "$run" Sorbek >/dev/null; then fail "the Run entry is left behind"; fi

echo "$failures failure(s)"
[[ $failures == 0 ]]
