# Later Windows: the Windows tests of the detection, the apply and the
# manifest, and the GUI tests of the tray step, as Windows 10 (code 7, the NT
# map, the balloon, ncpa.cpl, the ignored-values message); the memory status
# as a PC of today has it (GlobalMemoryStatusEx, the status window's amount
# slider to the machine's whole memory); and the exits with work in flight
# under heap checking. Run once, in the NT family's lane.
# shellcheck shell=bash
if [[ " $CORVANE_WINE_VERSIONS " == *" winxp "* ]]; then
  corvane_gtest_wine "windows-win10" win10 "$WIN_BIN/corvane_win_tests.exe" \
      --gtest_filter='LaterWindows.*:*OsDetection*:ProgramManifest.*:MemoryStatusUnderWindows.*:Win32/MemoryStatusContract.*'
  if [[ -f "$WIN_BIN/corvane_gui_tests.exe" ]]; then
    shots="$CORVANE_BUILD/screenshots/win10"
    rm -rf "$shots"
    mkdir -p "$shots"
    CORVANE_SCREENSHOT_DIR="$shots" corvane_gtest_wine "gui-win10" win10 \
        "$WIN_BIN/corvane_gui_tests.exe" \
        --gtest_filter='ConnectedShellTest.*:SystemStatusWindowTest.ShowsItsFramesAndBothGraphsSampleEvery300Ms:SystemStatusWindowTest.AmountSliderRunsToTotalMemoryAndItsLabelFollows'
    # Exits with work in flight, with Wine's heap checking: memory used after
    # it was freed shows as a fault of the program.
    WINEDEBUG=warn+heap CORVANE_SCREENSHOT_DIR="$shots" corvane_gtest_wine "gui-exit-heap-win10" win10 \
        "$WIN_BIN/corvane_gui_tests.exe" --gtest_filter='ExitInFlight.*'
    for bmp in "$shots"/*.bmp; do
      [[ -f "$bmp" ]] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
  fi
fi
