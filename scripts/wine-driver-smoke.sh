#!/usr/bin/env bash
# Loads the 64-bit Portvane driver under Wine through portvane-probe, twice:
# each run must install the service, start the driver, open \\.\Portvane,
# print the driver's identification, and remove the service and the driver
# image again. Wine runs drivers in a user process, where port instructions
# are refused, so the status read must be reported as failed (exit status 1),
# never shown as a value.
#   scripts/wine-driver-smoke.sh build-mingw64/driver/portvane-probe.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
probe=${1:?usage: wine-driver-smoke.sh PORTVANE-PROBE.EXE}
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vantrel-wine-$(id -u)}

fail() { echo "driver smoke test: $*" >&2; exit 1; }

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
  if "$here/wine-run.sh" sc query Portvane >/dev/null 2>&1; then
    fail "run $run: the service Portvane was left behind"
  fi
  leftovers=$(find "$WINEPREFIX/drive_c" -iname 'Portvane*' 2>/dev/null | head -n3)
  [ -z "$leftovers" ] || fail "run $run: driver image or its folder left behind: $leftovers"
done
echo "driver smoke test: the driver loaded, identified itself, refused the port read and was removed, twice"
