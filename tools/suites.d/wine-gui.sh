# End-to-end GUI tests: the real corvane.exe under Wine on the virtual
# display, once per Windows version. Screenshots become PNG files.
# shellcheck shell=bash
for winver in $CORVANE_WINE_VERSIONS; do
  shots="$CORVANE_BUILD/screenshots/$winver"
  rm -rf "$shots"
  mkdir -p "$shots"
  # The whole GUI run takes 10 to 13 minutes under qemu; the limit only
  # stops a run that hangs.
  CORVANE_SUITE_TIMEOUT=1800 CORVANE_SCREENSHOT_DIR="$shots" corvane_gtest_wine "gui-$winver" "$winver" "$WIN_BIN/corvane_gui_tests.exe"
  for bmp in "$shots"/*.bmp; do
    [[ -f "$bmp" ]] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
done
