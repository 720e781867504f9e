#!/usr/bin/env bash
# The built help file is a valid CHM that holds every page of the sources,
# its contents and index, and no page links to a page that is not there.
#   check_help.sh <OrvHelp.chm> <assets/help folder> [<folder of generated pages>]
set -euo pipefail
chm=$1
src=$2
generated=${3:-}
fail=0
# The pages: the sources and the pages made at build time.
pages=("$src"/*.htm)
[[ -n "$generated" ]] && pages+=("$generated"/*.htm)
page_source() { [[ -f "$src/$1" ]] && echo "$src/$1" || echo "$generated/$1"; }
[[ -s "$chm" ]] || { echo "FAIL: $chm missing or empty"; exit 1; }
head -c 4 "$chm" | grep -q '^ITSF' || { echo "FAIL: $chm is not an ITSF (CHM) file"; exit 1; }

listing=$(chmls -p -n list "$chm")
for page in "${pages[@]}" "$src"/style.css "$src"/toc.hhc "$src"/index.hhk; do
  name=/$(basename "$page")
  if ! grep -qx "$name" <<<"$listing"; then
    echo "FAIL: $name is not in $chm"
    fail=1
  fi
done
# Every file the project lists is a source here and in the file.
while read -r file; do
  [[ -z "$file" ]] && continue
  [[ -f "$(page_source "$file")" ]] || { echo "FAIL: OrvHelp.hhp lists $file, which does not exist"; fail=1; }
done < <(sed -n '/^\[FILES\]/,/^\[/p' "$src/OrvHelp.hhp" | grep -v '^\[' | tr -d '\r')

# Each page extracted from the file equals its source.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmls extractall "$chm" "$work" >/dev/null
for page in "${pages[@]}"; do
  cmp -s "$page" "$work/$(basename "$page")" || { echo "FAIL: $(basename "$page") differs in $chm"; fail=1; }
done

# The binary contents and index can be read back, and name every page.
chmls extracttoc "$chm" "$work/toc.txt" >/dev/null
chmls extractindex "$chm" "$work/index.txt" >/dev/null
for page in "${pages[@]}"; do
  grep -q "$(basename "$page")" "$work/toc.txt" || { echo "FAIL: $(basename "$page") is not in the contents"; fail=1; }
done

# No link leads nowhere.
for page in "${pages[@]}"; do
  for target in $(grep -o 'href="[^"#]*' "$page" | sed 's/href="//' | sort -u); do
    [[ -z "$target" || "$target" == http* ]] && continue
    [[ -f "$(page_source "$target")" ]] || { echo "FAIL: $(basename "$page") links to missing $target"; fail=1; }
  done
done

[[ $fail -eq 0 ]] && echo "ok: $chm holds all ${#pages[@]} pages, its contents and its index"
exit $fail
