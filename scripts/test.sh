#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
#   scripts/test.sh             plain build in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" run test
# The layers of the source tree (HACKING.md), before anything is built.
python3 "$top/scripts/check-layout.py"

dir="$top/build"
extra=(-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=ON -DVANTREL_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir="$top/build-asan"
  extra=(-DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_TESTS=ON -DVANTREL_BENCH=OFF)
  export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
  export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
# AUTO: the Windows language libraries (and the test that compares them with
# the Linux bundles) are built when mingw-w64 is there; ON requires it.
extra+=(-DVANTREL_WINDOWS_RESOURCES="${VANTREL_WINDOWS_RESOURCES:-AUTO}")
cmake -S "$top" -B "$dir" "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
