#!/usr/bin/env bash
# A short tour of vantrel92-cli against the built-in simulated calculator,
# for a machine without a display: the calculator's directory, a variable
# received into a file and sent back, and the screen saved as PNG. Each
# command is shown as it can be pasted into a shell.
#   scripts/cli-tour.sh [BUILD_DIR [OUT_DIR]]    default: build/ and BUILD_DIR/tour
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
cli=$dir/bin/vantrel92-cli
if [ ! -x "$cli" ]; then
  echo "cli-tour: $cli is not built (scripts/run.sh and scripts/test.sh build it)" >&2
  exit 1
fi
out=${2:-$dir/tour}
mkdir -p "$out"
# The program as it is reached from here: a short path below the current
# folder, the full one otherwise.
shown_cli=$(realpath --relative-to="$PWD" "$cli")
[[ $shown_cli == ../* ]] && shown_cli=$(realpath "$cli")

# An argument as a user can paste it into a shell: quoted when the shell
# would change it (a backslash, a space, ...).
shell_word() {
  if [[ $1 =~ ^[A-Za-z0-9_./=:@%+,-]+$ ]]; then
    printf '%s' "$1"
  else
    printf "'%s'" "${1//\'/\'\\\'\'}"
  fi
}

step() {
  printf '\n$ %s' "$(shell_word "$shown_cli")"
  for arg in "$@"; do printf ' %s' "$(shell_word "$arg")"; done
  printf '\n'
  "$cli" "$@"
}
step --simulate dir
step --simulate get 'main\greeting' -C "$out" --force
step --simulate send "$out/greeting.92s"
step --simulate screen "$out/screen.png" --zoom 2 --force

printf '\nThe tour wrote its files to %s:\n' "$out"
printf '  %s  the variable main\\greeting, received from the simulated calculator\n' "$out/greeting.92s"
printf '  %s  the calculator'"'"'s screen at double size\n' "$out/screen.png"
