#!/usr/bin/env bash
# The Windows packages, made from the cross builds (scripts/cross-build.sh)
# into build-packages/:
#   Vantrel92-<version>-win32.zip, -win64.zip: the programs, the language
#     libraries, the about clip, a short read-me and the USB link cable's
#     driver INF (WinUSB), in one folder;
#   Vantrel92-<version>-win32-setup.exe, -win64-setup.exe: NSIS installers
#     (packaging/windows/Vantrel92.nsi).
# Each package's list of files is checked; the 64-bit installer is then run
# silently under Wine: the files land in Program Files with a Start-menu
# folder (the program, the program on its simulated calculator, the
# uninstaller), the uninstall entry gives the installed size, nothing is
# written to the settings key, the installed programs run
# (vantrel92-cli.exe --simulate dir), and the
# uninstaller removes everything it installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build-packages
wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}
version=$(sed -n 's/^project(Vantrel92 VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")

fail() { echo "windows-packages: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
for arch in win32 win64; do
  case $arch in
    win32) bin=$top/build-mingw32/bin ;;
    win64) bin=$top/build-mingw64/bin ;;
  esac
  files=(vantrel92.exe vantrel92-cli.exe English.dll Italiano.dll Vantrel92.avi)
  stage=$out/stage-$arch/Vantrel92-$version-$arch
  mkdir -p "$stage"
  for file in "${files[@]}"; do
    [ -f "$bin/$file" ] || fail "$bin/$file: not built"
    cp "$bin/$file" "$stage/"
  done
  # A read-me Windows' own editor shows with its line breaks.
  sed 's/$/\r/' "$top/packaging/windows/ReadMe.txt" >"$stage/ReadMe.txt"
  # The INF that binds WinUSB to the USB link cable, with Windows' line breaks too.
  sed 's/$/\r/' "$top/packaging/windows/vantrel92-usb.inf" >"$stage/vantrel92-usb.inf"
  files+=(ReadMe.txt vantrel92-usb.inf)

  zip_file=$out/Vantrel92-$version-$arch.zip
  (cd "$(dirname "$stage")" && zip -qr -X "$zip_file" "$(basename "$stage")")
  listed=$(unzip -Z1 "$zip_file" | grep -v '/$' | sed 's|^[^/]*/||' | sort | tr '\n' ' ')
  wanted=$(printf '%s\n' "${files[@]}" | sort | tr '\n' ' ')
  [ "$listed" = "$wanted" ] || fail "$zip_file holds '$listed', not '$wanted'"
  echo "$zip_file: $wanted"

  setup=$out/Vantrel92-$version-$arch-setup.exe
  makensis -V4 -DARCH=$arch -DVERSION="$version" -DSOURCE="$stage" -DOUTFILE="$setup" \
    "$top/packaging/windows/Vantrel92.nsi" >"$out/makensis-$arch.log" \
    || { cat "$out/makensis-$arch.log" >&2; fail "makensis failed for $arch"; }
  # The installer took in each file of the package, and no other.
  packed=$(sed -n 's/^File: "\([^"]*\)".*/\1/p' "$out/makensis-$arch.log" | sort | tr '\n' ' ')
  [ "$packed" = "$wanted" ] || fail "$setup packs '$packed', not '$wanted'"
  echo "$setup: $(stat -c %s "$setup") bytes"
done

# The 64-bit installer under Wine (this Wine runs no 32-bit programs).
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-setup.XXXXXX")
export WINEPREFIX=$work/prefix VANTREL_WINE_PERSIST=60 WINEDEBUG=-all
finish() {
  "$wine_dir/wineserver" -k 2>/dev/null || true
  "$wine_dir/wineserver" -w 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
"$top/scripts/wine-run.sh" </dev/null >/dev/null 2>&1
installed="$WINEPREFIX/drive_c/Program Files/Vantrel 92"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vantrel 92"
settings='HKLM\SOFTWARE\Corvessan\Vantrel 92'

"$top/scripts/wine-run.sh" "$out/Vantrel92-$version-win64-setup.exe" /S
for file in vantrel92.exe vantrel92-cli.exe English.dll Italiano.dll Vantrel92.avi ReadMe.txt vantrel92-usb.inf Uninstall.exe; do
  [ -f "$installed/$file" ] || fail "installed: no $file in Program Files\\Vantrel 92"
done
for shortcut in "Vantrel 92" "Vantrel 92 (simulated calculator)"; do
  [ -f "$menu/$shortcut.lnk" ] || fail "installed: no Start-menu shortcut $shortcut"
done
python3 -c 'import sys; sys.exit("--simulate".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
  "$menu/Vantrel 92 (simulated calculator).lnk" || fail "installed: the simulated calculator's shortcut does not pass --simulate"
size=$("$wine_dir/wine64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel 92' \
  /v EstimatedSize 2>/dev/null | tr -d '\r' | awk '$1 == "EstimatedSize" {print $3}')
installed_kib=$(du -sk "$installed" | cut -f1)
[ -n "$size" ] && [ $((size)) -gt $((installed_kib / 2)) ] && [ $((size)) -le $((installed_kib * 2)) ] \
  || fail "installed: the uninstall entry's size is '$size' KiB, the files take $installed_kib KiB"
echo "the uninstall entry gives $((size)) KiB (the files take $installed_kib KiB)"
if "$wine_dir/wine64" reg query "$settings" >/dev/null 2>&1; then
  fail "the installer wrote the settings key"
fi
listing=$(cd "$work" && "$top/scripts/wine-run.sh" "$installed/vantrel92-cli.exe" --simulate dir)
grep -q algebra <<<"$listing" || fail "installed vantrel92-cli.exe --simulate dir: $listing"
echo "installed vantrel92-cli.exe --simulate dir lists the simulated calculator"
echo "installed into Program Files\\Vantrel 92 with a Start-menu folder; settings key untouched"

"$top/scripts/wine-run.sh" "$installed/Uninstall.exe" /S
# The uninstaller finishes from a copy of itself: wait until it has.
for _ in $(seq 1 200); do
  [ -e "$installed" ] || [ -e "$menu" ] || break
  sleep 0.1
done
[ ! -e "$installed" ] || fail "uninstalled: left $(ls "$installed" | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "uninstalled: left the Start-menu folder"
echo "uninstalled: Program Files\\Vantrel 92 and the Start-menu folder are gone"
rm -rf "$out"/stage-*
