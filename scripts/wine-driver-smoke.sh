#!/usr/bin/env bash
# Loads the 64-bit Portvane driver under Wine through portvane-probe, twice:
# each run must install the service, start the driver, open \\.\Portvane,
# print the driver's identification, and remove the service and the driver
# image again. Wine runs drivers in a user process, where port instructions
# are refused, so the status read must be reported as failed (exit status 1),
# never shown as a value. Given the command-line program too, it must open the
# port the same way from the driver it carries, and then fail the directory
# exchange (status 1), leaving no service and no image behind.
#   scripts/wine-driver-smoke.sh build-mingw64/port/probe/portvane-probe.exe [build-mingw64/bin/vantrel92-cli.exe]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
probe=${1:?usage: wine-driver-smoke.sh PORTVANE-PROBE.EXE [VANTREL92-CLI.EXE]}
cli=${2:-}
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vantrel-wine-$(id -u)}

fail() { echo "driver smoke test: $*" >&2; exit 1; }

nothing_left_behind() { # run
  if "$here/wine-run.sh" sc query Portvane >/dev/null 2>&1; then
    fail "$1: the service Portvane was left behind"
  fi
  local leftovers
  leftovers=$(find "$WINEPREFIX/drive_c" -iname 'Portvane*' 2>/dev/null | head -n3)
  [ -z "$leftovers" ] || fail "$1: driver image or its folder left behind: $leftovers"
}

for run in 1 2; do
  err=$(mktemp)
  status=0
  out=$("$here/wine-run.sh" "$probe" 2>"$err") || status=$?
  message=$(tr -d '\r' <"$err")
  rm -f "$err"
  out=$(tr -d '\r' <<<"$out")
  [ "$(head -n1 <<<"$out")" = "Portvane Driver (sys)" ] \
    || fail "run $run: no identification from the driver: $out $message"
  grep -q "^(Built " <<<"$out" || fail "run $run: identification without its build line: $out"
  grep -q "Status register" <<<"$out" && fail "run $run: a refused read was shown as a value: $out"
  [ "$status" -eq 1 ] || fail "run $run: exit status $status instead of 1: $message"
  grep -q "could not read the status register at 0x379" <<<"$message" \
    || fail "run $run: the failed read was not reported: $message"
  nothing_left_behind "run $run"
done
echo "driver smoke test: the driver loaded, identified itself, refused the port read and was removed, twice"

[ -n "$cli" ] || exit 0
status=0
message=$("$here/wine-run.sh" "$cli" dir 2>&1 >/dev/null | tr -d '\r') || status=$?
[ "$status" -eq 1 ] || fail "$cli dir: exit status $status instead of 1: $message"
grep -q "Unable to read the calculator's directory" <<<"$message" \
  || fail "$cli dir: the port did not open with the driver it carries: $message"
nothing_left_behind "$cli"
echo "driver smoke test: $(basename "$cli") opened the port with the driver it carries and removed it again"
