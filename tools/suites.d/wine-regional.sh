# The regional date and time tests once per region: texts written by the
# system and read back, and the backup list sorted by date and by time,
# where the pictures differ most (month first, day first with dots, times
# with the date separator, year first). Wine takes the user's region from
# the Unix locale; the locales are made once into the cache (LOCPATH), so
# the machine's own locale settings stay as they are. The runs share one
# prefix whose server stays up between them, which keeps the suite short.
# shellcheck shell=bash

# Unix locale and the Windows locale identifier it must give.
CORVANE_REGIONS=${CORVANE_REGIONS:-"en_US:0409 de_DE:0407 fi_FI:040b da_DK:0406 ja_JP:0411"}

_corvane_regional_locales() {
  local dir=$CORVANE_CACHE/locales region locale
  mkdir -p "$dir"
  (
    flock 9
    for region in $CORVANE_REGIONS; do
      locale=${region%%:*}
      [[ -d "$dir/$locale.UTF-8" ]] && continue
      localedef -i "$locale" -f UTF-8 "$dir/$locale.UTF-8.tmp" >/dev/null 2>&1 || true
      [[ -d "$dir/$locale.UTF-8.tmp" ]] && mv "$dir/$locale.UTF-8.tmp" "$dir/$locale.UTF-8"
    done
  ) 9>"$dir.lock"
  echo "$dir"
}

_corvane_regional() {
  local winver=$CORVANE_WINE_VERSIONS locpath prefix region locale
  locpath=$(_corvane_regional_locales)
  prefix=$(corvane_wine_prefix "$winver") || { _corvane_record "regional-$winver" FAIL - - 0; return; }
  WINEPREFIX="$prefix" wineserver -p 2>/dev/null
  for region in $CORVANE_REGIONS; do
    locale=${region%%:*}
    if [[ ! -d "$locpath/$locale.UTF-8" ]]; then
      echo "regional-$winver-$locale: the locale $locale could not be made" >&2
      _corvane_record "regional-$winver-$locale" FAIL - - 0
      continue
    fi
    LOCPATH="$locpath" LC_ALL="$locale.UTF-8" CORVANE_EXPECTED_LCID=${region##*:} \
      CORVANE_WINE_PREFIX="$prefix" \
      corvane_gtest_wine "regional-$winver-$locale" "$winver" "$WIN_BIN/corvane_win_tests.exe" \
        --gtest_filter='RegionalFormatOnWindows.*'
  done
  corvane_wine_discard "$prefix"
}
_corvane_regional
