#!/usr/bin/env bash
# Runs the same exchanges with the Windows command-line program under Wine and
# with the Linux one, each against its own built-in simulated calculator, and
# compares what they leave:
#  - `dir --json`: the listing (Windows ends its console lines with CR LF;
#    the CRs are dropped before comparing);
#  - `get` of every variable the listing names, one file each, and of all of
#    them into one group file: the files byte for byte;
#  - `send` of every received file back: exit status and messages;
#  - `screen` to PNG, BMP and PBM at single and double size: byte for byte;
#  - `get`, `screen`, `backup` and `restore` through the black and the gray
#    cable to the calculator behind the serial port's seam;
#  - the same into a folder and files whose names hold letters beyond ASCII,
#    with no temporary file left anywhere;
#  - the Windows `--help` offers no device path for --port;
#  - every step's exit status, its output and its messages (the Windows
#    program writes the folders of the files it names with backslashes, which
#    are turned into slashes before comparing).
#   scripts/wine-cli-compare.sh WINDOWS-CLI.EXE LINUX-CLI
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
windows_cli=$(realpath "${1:?usage: wine-cli-compare.sh WINDOWS-CLI.EXE LINUX-CLI}")
linux_cli=$(realpath "${2:?usage: wine-cli-compare.sh WINDOWS-CLI.EXE LINUX-CLI}")
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-cli-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "CLI comparison: $*" >&2; exit 1; }

# One step of one side: its status and messages are kept for the comparison.
step() { # side args...
  local side=$1 status=0 slashes=cat
  shift
  steps=$((steps + 1))
  (
    cd "$work/$side"
    if [ "$side" = windows ]; then
      "$here/wine-run.sh" "$windows_cli" "$@"
    else
      XDG_CONFIG_HOME="$work/linux-config" "$linux_cli" "$@"
    fi
  ) >"$work/step.out" 2>"$work/step.err" || status=$?
  if [ "$side" = windows ]; then slashes="tr \\\\ /"; fi
  {
    printf '$ %s -> %s\n' "$*" "$status"
    tr -d '\r' <"$work/step.err"
  } >>"$work/$side/log"
  tr -d '\r' <"$work/step.out" | $slashes >"$work/$side/stdout-$steps"
}

# Windows has no port devices: its help offers none.
windows_help=$("$here/wine-run.sh" "$windows_cli" --help)
grep -q -- "--port PORT" <<<"$windows_help" || fail "the Windows program's --help has no --port"
! grep -q /dev/ <<<"$windows_help" || fail "the Windows program's --help offers a device as --port"

mkdir -p "$work"/{windows,linux}/files/{black,gray} "$work/linux-config"
"$linux_cli" --version >/dev/null || fail "$linux_cli does not run"
"$linux_cli" --simulate dir --json >"$work/listing.json" 2>/dev/null
mapfile -t variables < <(python3 -c '
import json, sys
for folder in json.load(open(sys.argv[1]))["folders"]:
    for variable in folder["variables"]:
        print(folder["name"] + "\\" + variable["name"])' "$work/listing.json")
[ "${#variables[@]}" -ge 2 ] || fail "the simulated calculator lists only ${#variables[@]} variables"

for side in windows linux; do
  steps=0
  step $side --simulate dir --json
  step $side --simulate dir
  step $side --simulate get "${variables[@]}" -C files
  step $side --simulate get "${variables[@]}" -C files --group lesson
  mapfile -t received < <(cd "$work/$side" && find files -type f | sort)
  step $side --simulate send "${received[@]}"
  for zoom in 1 2; do
    for format in png bmp pbm; do
      step $side --simulate screen "files/screen-$zoom.$format" --zoom $zoom
    done
  done
  # Names with letters beyond ASCII, in folders and files.
  mkdir -p "$work/$side/files/Città ü"
  step $side --simulate get "${variables[@]}" -C "files/Città ü"
  step $side --simulate get "${variables[@]}" -C "files/Città ü" --group Città
  step $side --simulate send "files/Città ü/Città.92g"
  step $side --simulate screen "files/schermo è.png"
  step $side --simulate get 'main\nothing' -C files
  # The serial cables' code with the calculator behind the seam: the black
  # cable's bit handshake on the modem lines, the gray cable's bytes.
  for cable in black gray; do
    step $side --simulate --cable $cable --port COM3 get "${variables[@]}" -C files/$cable
    step $side --simulate --cable $cable --port COM3 screen files/$cable/screen.png
    step $side --simulate --cable $cable --port COM3 backup files/$cable/calc.92b
    step $side --simulate --cable $cable --port COM3 restore files/$cable/calc.92b --yes
  done
  step $side --simulate --cable usb dir
done

diff -r "$work/linux" "$work/windows" >&2 || fail "the Windows program differs from the Linux one (above)"
left=$(find "$work" -name '*.part')
[ -z "$left" ] || fail "temporary files left: $left"
count=$(find "$work/linux/files" -type f | wc -l)
echo "CLI comparison: $steps steps and $count files ($(du -sb "$work/linux/files" | cut -f1) bytes), the same on Windows and Linux"
