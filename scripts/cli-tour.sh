#!/usr/bin/env bash
# A short tour of vantrel92-cli against the built-in simulated calculator,
# for a machine without a display: the calculator's directory, a variable
# received into a file and sent back, and the screen saved as PNG.
#   scripts/cli-tour.sh [BUILD_DIR]    default: build/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
cli=$dir/bin/vantrel92-cli
if [ ! -x "$cli" ]; then
  echo "cli-tour: $cli is not built (scripts/test.sh builds it)" >&2
  exit 1
fi
out=$dir/tour
mkdir -p "$out"

step() {
  printf '\n$ vantrel92-cli %s\n' "$*"
  "$cli" "$@"
}
step --simulate dir
step --simulate get 'main\greeting' -C "$out" --force
step --simulate send "$out/greeting.92s"
step --simulate screen "$out/screen.png" --zoom 2 --force

printf '\nThe tour wrote its files to %s:\n' "$out"
printf '  %s  the variable main\\greeting, received from the simulated calculator\n' "$out/greeting.92s"
printf '  %s  the calculator'"'"'s screen at double size\n' "$out/screen.png"
