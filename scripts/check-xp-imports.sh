#!/usr/bin/env bash
# Checks that Windows XP SP3 can load the given Windows images (programs,
# libraries, drivers): every function each one imports must be in the list of
# what XP SP3's system file of that name exports (scripts/xp-exports/NAME.txt,
# one function a line; for 64-bit images also NAME.x64.txt, what XP x64 adds).
# A DLL without a list (a mingw run-time DLL, or one that XP lacks) and an
# import by ordinal fail too.
#   scripts/check-xp-imports.sh IMAGE...
set -euo pipefail
lists=$(cd "$(dirname "$0")" && pwd)/xp-exports
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump} # reads 32-bit and 64-bit images
[ $# -gt 0 ] || { echo "usage: check-xp-imports.sh IMAGE..." >&2; exit 2; }

# "dll function" lines from objdump's headers, the DLL in lower case without
# its extension.
imports() {
  awk '
    /^The Import Tables/ { inside = 1; next }
    /^The / { inside = 0 }
    !inside { next }
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); sub(/\.(dll|exe|sys)$/, "", dll); next }
    dll && /^\t[0-9a-f]+\t/ {
      if (NF >= 3) print dll, $3
      else print dll, "#" $2
    }' <<<"$1"
}

status=0
for image in "$@"; do
  [ -f "$image" ] || { echo "$image: no such image" >&2; status=1; continue; }
  header=$("$objdump" -p "$image")
  list=$(imports "$header" | sort -u)
  wide=
  grep -q '^Magic.*(PE32+)' <<<"$header" && wide=yes
  bad=()
  while read -r dll function; do
    [ -n "$dll" ] || continue
    if [ ! -f "$lists/$dll.txt" ]; then
      bad+=("$dll: not a system DLL of Windows XP")
    elif [ "${function:0:1}" = "#" ]; then
      bad+=("$dll: import by ordinal ${function:1}")
    else
      files=("$lists/$dll.txt")
      [ -n "$wide" ] && [ -f "$lists/$dll.x64.txt" ] && files+=("$lists/$dll.x64.txt")
      grep -qxF "$function" "${files[@]}" || bad+=("$dll!$function")
    fi
  done <<<"$list"
  if [ ${#bad[@]} -gt 0 ]; then
    printf '%s: not on Windows XP SP3: %s\n' "$image" "$(printf '%s\n' "${bad[@]}" | sort -u | paste -sd' ')" >&2
    status=1
  else
    echo "$image: $(grep -c . <<<"$list") imports from $(cut -d' ' -f1 <<<"$list" | sort -u | paste -sd' '), all on Windows XP SP3"
  fi
done
exit $status
