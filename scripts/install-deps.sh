#!/usr/bin/env bash
# Installs the Debian packages of the lists named, when any is missing.
#   scripts/install-deps.sh LIST...    LIST: run, test or windows (scripts/packages/LIST.txt)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || { echo "usage: $0 run|test|windows..." >&2; exit 2; }
missing=()
for list in "$@"; do
  file="$here/packages/$list.txt"
  [ -f "$file" ] || { echo "install-deps: no package list $file" >&2; exit 2; }
  while read -r pkg; do
    pkg=${pkg%%#*}
    pkg=${pkg//[[:space:]]/}
    [ -z "$pkg" ] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done < "$file"
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
