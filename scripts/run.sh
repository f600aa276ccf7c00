#!/usr/bin/env bash
# Installs what is missing (the run list only: no test or cross-build
# tools), builds the programs with everything installing them needs, and
# starts the window program linked to the built-in simulated TI-92.
#   scripts/run.sh              runs  vantrel92 --simulate
#   scripts/run.sh ARGS...      runs  vantrel92 ARGS...  (no ARGS at all: --simulate)
# Without a display it runs scripts/cli-tour.sh: vantrel92-cli on the simulated
# calculator, writing its files under the build folder.
# The build goes to build/ (or $VANTREL_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" run

dir="${VANTREL_BUILD_DIR:-$top/build}"
# A new build folder leaves out the tests and benchmarks, whose tools the
# run list does not install; one that scripts/test.sh made keeps them.
options=()
[ -f "$dir/CMakeCache.txt" ] || options=(-DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF)
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"

program="$dir/bin/vantrel92"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--simulate)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: a tour of the command-line program instead (the window program runs on a virtual display with: xvfb-run -a $program ${args[*]})" >&2
  exec "$top/scripts/cli-tour.sh" "$dir"
fi
exec "$program" "${args[@]}"
