#!/usr/bin/env bash
# End-to-end test of the Windows window program under Wine (64-bit): the
# test build vantrel92-test.exe, linked to its simulated calculator, is
# driven through its own window by a script of user actions (see
# gui/win32/Win32TestScript.h): read the directory, open a folder, receive
# a variable, capture the screen and save it through the Save As dialog,
# change the time-out on the configuration page and save it. Then:
#  - the received file equals, byte for byte, the command-line program's;
#  - the saved bitmap has the pixels of the command-line program's PNG;
#  - the registry holds the new time-out (reg query, same Wine prefix).
# Needs a display: without one it runs itself under xvfb-run.
#   scripts/wine-gui-test.sh [WINDOWS-BIN-DIR [LINUX-CLI]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build-mingw64/bin}
cli=${2:-$top/build/bin/vantrel92-cli}
wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

fail() { echo "wine-gui-test: $*" >&2; exit 1; }
[ -x "$cli" ] || fail "$cli: the command-line program is needed for the reference files"
[ -f "$bin/vantrel92-test.exe" ] || fail "$bin/vantrel92-test.exe: not built"

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-gui.XXXXXX")
own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=$work/prefix
  own_prefix=1
fi
cleanup() {
  if [ -n "$own_prefix" ]; then
    "$wine_dir/wineserver" -k 2>/dev/null || true
    "$wine_dir/wineserver" -w 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
export VANTREL_WINE_PERSIST=${VANTREL_WINE_PERSIST:-60}
"$top/scripts/wine-run.sh" </dev/null >/dev/null 2>&1
drive_c=$WINEPREFIX/drive_c
# A fresh start: no settings key, no files of an earlier run.
"$wine_dir/wine64" reg delete 'HKLM\SOFTWARE\Corvessan\Vantrel 92' /f >/dev/null 2>&1 || true
rm -f "$drive_c/squares.92l" "$drive_c/vantrel-screen.bmp"

# What the command-line program makes of the same simulated calculator.
mkdir -p "$work/cli"
reference() {
  XDG_CONFIG_HOME=$work/config "$cli" --simulate "$@" >"$work/cli.log" 2>&1 \
    || { cat "$work/cli.log" >&2; fail "vantrel92-cli $*: failed"; }
}
reference get 'algebra\squares' -C "$work/cli"
reference screen "$work/cli/screen.png"

# The program's window: the directory page shows C:\ on the PC side, so the
# variable is received there.
cat >"$work/actions.txt" <<'ACTIONS'
click IDC_DIRECTORY
activate algebra
select squares
click IDC_RECEIVE
wait-file C:\squares.92l
page 1
click IDC_CAPTURE
click IDC_SAVE_PICTURE
save-as C:\vantrel-screen.bmp
wait-file C:\vantrel-screen.bmp
click IDC_REMOTE
remote-key 2
remote-key +
remote-key 3
remote-key ENTER
remote-shows 5
remote-close
page 0
select poly
click IDC_DELETE
expect Deleted
page 2
text IDC_TIMEOUT 2500
click IDC_SAVE_SETTINGS
close
ACTIONS
cp "$bin"/*.dll "$bin"/*.avi "$bin/vantrel92-test.exe" "$work/"
status=0
(cd "$work" && timeout 120 "$top/scripts/wine-run.sh" ./vantrel92-test.exe --test-script actions.txt --simulate) \
  || status=$?
[ -f "$work/actions.txt.log" ] && sed 's/^/  window: /' "$work/actions.txt.log"
[ "$status" -eq 0 ] || fail "the window program ended with status $status"

cmp "$work/cli/squares.92l" "$drive_c/squares.92l" || fail "received file differs from the command line's"
echo "received squares.92l: $(stat -c %s "$drive_c/squares.92l") bytes, as the command line's"

differing=$(compare -metric AE "$drive_c/vantrel-screen.bmp" "$work/cli/screen.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "saved bitmap differs from the command line's PNG in $differing pixels"
echo "saved vantrel-screen.bmp: $(identify -format '%wx%h' "$drive_c/vantrel-screen.bmp"), every pixel as the command line's PNG"

timeout_value=$("$wine_dir/wine64" reg query 'HKLM\SOFTWARE\Corvessan\Vantrel 92' /v Timeout 2>/dev/null | tr -d '\r' \
  | awk '$1 == "Timeout" {print $3}')
[ "$timeout_value" = 0x9c4 ] || fail "registry Timeout is '$timeout_value', not 0x9c4 (2500)"
echo "registry Timeout: $timeout_value (2500 ms)"
echo "wine-gui-test: passed"
