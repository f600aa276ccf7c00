#!/usr/bin/env bash
# End-to-end test of the Windows window program under Wine (64-bit): the
# test build vantrel92-test.exe, linked to its simulated calculator, is
# driven through its own window by a script of user actions (see
# gui/win32/Win32TestScript.h): read the directory, open a folder with Enter,
# receive a variable, move into a folder with letters beyond ASCII, receive a
# group there and send a file of such a name, take a backup and open the
# restore dialog there, capture the screen and save it through the Save As
# dialog, change the time-out on the configuration page and save it, see
# the about clip on the page's own colour; the
# calculator lists' columns fit, in both languages; --version and a wrong
# argument each show a box and end the program. Then:
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
reference get 'algebra\squares' 'algebra\poly' -C "$work/cli" --group group
reference get 'main\greeting' -C "$work/cli"
reference screen "$work/cli/screen.png"
# A folder with letters beyond ASCII, and a file named so, for the PC side.
accented="$drive_c/Città ü"
rm -rf "$accented"
mkdir -p "$accented"
cp "$work/cli/greeting.92s" "$accented/città.92s"

cp "$bin"/*.dll "$bin"/*.avi "$bin/vantrel92-test.exe" "$work/"
# run NAME EXPECTED-STATUS ARGUMENTS...: the test build plays NAME.txt.
run() {
  local name=$1 expected=$2 status=0
  shift 2
  (cd "$work" && timeout 120 "$top/scripts/wine-run.sh" ./vantrel92-test.exe --test-script "$name.txt" "$@") \
    || status=$?
  [ -f "$work/$name.txt.log" ] && sed "s/^/  $name: /" "$work/$name.txt.log"
  [ "$status" -eq "$expected" ] || fail "$name: the window program ended with status $status, not $expected"
}
language() { # 0 Italian, 1 English
  "$wine_dir/wine64" reg add 'HKLM\SOFTWARE\Corvessan\Vantrel 92' /v Language /t REG_DWORD /d "$1" /f >/dev/null
}

# What the command line asks for is said in a box of its own, and the
# program ends: no window, no port, no settings written.
echo 'expect Vantrel 92, version 1.2.0.0' >"$work/version.txt"
run version 0 --version
"$wine_dir/wine64" reg query 'HKLM\SOFTWARE\Corvessan\Vantrel 92' >/dev/null 2>&1 \
  && fail "--version wrote the settings"

# The program's window: the directory page shows C:\ on the PC side, so the
# variable is received there. Enter in a calculator list does that list's
# own action: it opens the folder, and does nothing in the variable list.
cat >"$work/actions.txt" <<'ACTIONS'
columns-fit IDC_FOLDER_LIST
columns-fit IDC_VAR_LIST
click IDC_DIRECTORY
select-folder algebra
key IDC_FOLDER_LIST
select squares
key IDC_VAR_LIST
columns-fit IDC_FOLDER_LIST
columns-fit IDC_VAR_LIST
click IDC_RECEIVE
wait-file C:\squares.92l
pc-folder Città ü
pc-path C:\Città ü
select poly
click IDC_RECEIVE
answer Città
wait-file C:\Città ü\Città.92g
pc-file città.92s
click IDC_SEND
expect The file has been sent successfully.
click IDC_BACKUP
offers C:\Città ü\backup.92b
save-as C:\Città ü\backup.92b
wait-file C:\Città ü\backup.92b
pc-file backup.92b
click IDC_RESTORE
offers C:\Città ü\backup.92b
cancel-dialog
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
page 3
clip-ground
close
ACTIONS
run actions 0 --simulate

# In Italian: the box of a wrong argument, and the lists' columns.
language 0
printf '%s\n' 'expect argomento sconosciuto: --bogus' 'expect Uso: vantrel92' >"$work/usage.txt"
run usage 2 --bogus
cat >"$work/italian.txt" <<'ACTIONS'
columns-fit IDC_FOLDER_LIST
columns-fit IDC_VAR_LIST
click IDC_DIRECTORY
select-folder main
key IDC_FOLDER_LIST
select greeting
columns-fit IDC_FOLDER_LIST
columns-fit IDC_VAR_LIST
close
ACTIONS
run italian 0 --simulate
language 1

cmp "$work/cli/group.92g" "$accented/Città.92g" || fail "group file in 'C:\Città ü' differs from the command line's"
left=$(find "$accented" "$drive_c" -maxdepth 1 -name '*.part')
[ -z "$left" ] || fail "temporary files left: $left"
echo "received Città.92g into 'C:\Città ü' as the command line's, sent città.92s, backup offered there; no temporary file left"

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
