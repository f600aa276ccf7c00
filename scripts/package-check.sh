#!/usr/bin/env bash
# Builds the Debian package and checks it: the file list, the description,
# the dependencies worked out from the libraries the programs load, the
# licence and changelog, the desktop entry, the icons and manual pages, what
# lintian says, and that the installed command-line program runs through its
# launcher on PATH and finds its language libraries. Also installs into a
# temporary prefix, as the README's install command does.
#   scripts/package-check.sh [BUILD_DIR]    default: build/ (as scripts/test.sh leaves it)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
"$top/scripts/install-deps.sh" run test

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/vantrel92_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/vantrel92_*.deb)
echo "package: $deb"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The file list: exactly the program folder, the launchers, the USB cable's
# udev rule, the desktop entry, the icons and the manual pages.
list=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./||' | sort)
expected=$(sort <<'EOF'
usr/bin/vantrel92
usr/bin/vantrel92-cli
usr/lib/udev/rules.d/70-vantrel92-usb.rules
usr/lib/vantrel92/English.dll
usr/lib/vantrel92/Italiano.dll
usr/lib/vantrel92/Vantrel92.avi
usr/lib/vantrel92/vantrel92
usr/lib/vantrel92/vantrel92-cli
usr/share/applications/vantrel92.desktop
usr/share/doc/vantrel92/changelog.gz
usr/share/doc/vantrel92/copyright
usr/share/icons/hicolor/128x128/apps/vantrel92.png
usr/share/icons/hicolor/16x16/apps/vantrel92.png
usr/share/icons/hicolor/22x22/apps/vantrel92.png
usr/share/icons/hicolor/24x24/apps/vantrel92.png
usr/share/icons/hicolor/256x256/apps/vantrel92.png
usr/share/icons/hicolor/32x32/apps/vantrel92.png
usr/share/icons/hicolor/48x48/apps/vantrel92.png
usr/share/icons/hicolor/64x64/apps/vantrel92.png
usr/share/man/man1/vantrel92-cli.1.gz
usr/share/man/man1/vantrel92.1.gz
EOF
)
if [ "$list" != "$expected" ]; then
  fail "file list differs (< expected, > packaged):"
  diff <(echo "$expected") <(echo "$list") || true
fi
for launcher in vantrel92 vantrel92-cli; do
  target=$(dpkg-deb -c "$deb" | awk -v f="./usr/bin/$launcher" '$6 == f { print $8 }')
  [ "$target" = "../lib/vantrel92/$launcher" ] || fail "usr/bin/$launcher is not a link into the program folder ($target)"
done

# The description: the summary once, then the long description, each line
# indented by one space only (two would show it verbatim), paragraphs
# separated by " .", nothing wider than 80 columns.
description=$(dpkg-deb -f "$deb" Description)
summary=$(head -n 1 <<<"$description")
long=$(tail -n +2 <<<"$description")
[ -n "$summary" ] && [ -n "$long" ] || fail "description lacks a summary or a long description"
if grep -qxF " $summary" <<<"$long"; then fail "the summary is repeated in the long description"; fi
if grep -q '^  ' <<<"$long"; then fail "long description lines shown verbatim (two leading spaces)"; fi
if grep -v '^ ' <<<"$long" | grep -q .; then fail "long description line without its leading space"; fi
if grep -qx ' *' <<<"$long"; then fail "empty long description line instead of " .""; fi
if awk 'length > 80' <<<"$description" | grep -q .; then fail "description lines wider than 80 columns"; fi

# Dependencies: the Qt runtime libraries the programs load, no build packages.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for pkg in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6uitools6 libusb-1.0-0; do
  grep -qE "(^|, )${pkg//+/\\+}( |,|$)" <<<"$depends" || fail "dependency $pkg missing"
done
if grep -qE -- '-dev( |,|$)' <<<"$depends"; then fail "depends on a development package"; fi

# What the files hold.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/vantrel92.desktop" || fail "desktop entry does not validate"
for png in "$root"/usr/share/icons/hicolor/*/apps/vantrel92.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a ${size} PNG"
done
for page in "$root"/usr/share/man/man1/*.1.gz; do
  [ -n "$(zcat "$page" | grep -m1 '^\.TH')" ] || fail "$page is not a manual page"
  zcat "$page" | grep -q '^\.I /usr/lib/vantrel92/' || fail "$page does not name the program folder /usr/lib/vantrel92"
  if zcat "$page" | grep -q '@'; then fail "$page keeps a placeholder"; fi
done
doc=$root/usr/share/doc/vantrel92
grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "$doc/copyright" \
  || fail "copyright is not in the machine-readable format"
grep -qx "License: Expat" "$doc/copyright" || fail "copyright names no Expat (MIT) licence"
grep -qF "$(sed -n 's/^Copyright (c) //p' "$top/LICENSE")" "$doc/copyright" || fail "copyright holder differs from LICENSE"
version=$(dpkg-deb -f "$deb" Version)
zcat "$doc/changelog.gz" | head -n 1 | grep -qF "vantrel92 ($version)" || fail "changelog has no entry for $version"

# What lintian finds; information notes pass, errors and warnings do not.
if command -v lintian > /dev/null; then
  lintian --allow-root --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
else
  fail "lintian is not installed (scripts/packages/test.txt lists it)"
fi
cli=$(readelf -d "$root/usr/lib/vantrel92/vantrel92-cli" | grep NEEDED || true)
if grep -q Widgets <<<"$cli"; then fail "vantrel92-cli needs the widgets library"; fi

# The installed command-line program, started through its launcher, finds
# its language library in the program folder and talks to the simulated
# calculator.
config=$root/config
work=$root/work
mkdir -p "$config" "$work"
run() { XDG_CONFIG_HOME=$config "$root/usr/bin/vantrel92-cli" "$@"; }
run --version | grep -qx "vantrel92-cli 1.2.0.0" || fail "--version"
run --simulate dir > "$work/dir.txt" 2> "$work/dir.err" || fail "dir through the launcher: $(cat "$work/dir.err")"
grep -q '^main ' "$work/dir.txt" || fail "dir lists no folder main"
run --simulate get main/greeting -C "$work" > /dev/null 2> "$work/get.err" || fail "get through the launcher"
grep -qx "The file has been received." "$work/get.err" || fail "get did not print the language library's text: $(cat "$work/get.err")"
cmp -s <(head -c 8 "$work/greeting.92s") <(printf '**TI92**') || fail "received file is not a variable file"

# The README's install command into a prefix of its own: the manual pages
# name the program folder under that prefix, and the launcher there runs.
prefix=$root/local
cmake --install "$dir" --prefix "$prefix" > /dev/null || fail "cmake --install --prefix $prefix"
zcat "$prefix/share/man/man1/vantrel92-cli.1.gz" | grep -qF "${prefix//-/\\-}/lib/vantrel92/English.dll" \
  || fail "the installed manual page does not name $prefix/lib/vantrel92"
XDG_CONFIG_HOME=$config "$prefix/bin/vantrel92-cli" --version | grep -qx "vantrel92-cli 1.2.0.0" \
  || fail "the launcher installed under $prefix does not run"

if [ "$failures" -ne 0 ]; then
  echo "package check: $failures problem(s)"
  exit 1
fi
echo "package check: passed ($(echo "$list" | wc -l) files)"
