#!/usr/bin/env bash
# The commands the CLI tour shows, pasted into a shell as shown, do again
# what the tour did.
#   TourCommandsPaste.sh TOUR_SCRIPT BUILD_DIR
set -euo pipefail
tour=$(realpath "$1")
build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
cd "$work"
if ! "$tour" "$build" "$work/tour" > shown.txt 2> said.txt; then
  echo "the tour fails:"
  cat shown.txt said.txt
  exit 1
fi
mapfile -t commands < <(sed -n 's/^\$ //p' shown.txt)
if [ ${#commands[@]} -lt 4 ]; then
  echo "the tour shows ${#commands[@]} commands:"
  cat shown.txt
  exit 1
fi
rm -f "$work"/tour/*
for command in "${commands[@]}"; do
  if ! bash -c "$command" > out.txt 2> err.txt; then
    echo "pasted, it fails: $command"
    cat err.txt
    exit 1
  fi
done
for file in greeting.92s screen.png; do
  [ -s "$work/tour/$file" ] || { echo "the pasted commands did not write $file"; exit 1; }
done
echo "${#commands[@]} commands of the tour run as pasted"
