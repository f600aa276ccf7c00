#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it linked to the
# built-in simulated TI-92.
#   scripts/run.sh              runs  vantrel92 --simulate
#   scripts/run.sh ARGS...      runs  vantrel92 ARGS...  (no ARGS at all: --simulate)
# Without a display it runs scripts/cli-tour.sh: vantrel92-cli on the simulated
# calculator, writing its files under the build folder.
# The build goes to build/ (or $VANTREL_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

dir="${VANTREL_BUILD_DIR:-$top/build}"
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j "$(nproc)" --target vantrel92 vantrel92-cli

program="$dir/bin/vantrel92"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--simulate)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: a tour of the command-line program instead (the window program runs on a virtual display with: xvfb-run -a $program ${args[*]})" >&2
  exec "$top/scripts/cli-tour.sh" "$dir"
fi
exec "$program" "${args[@]}"
