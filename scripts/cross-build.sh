#!/usr/bin/env bash
# Cross-builds for Windows with mingw-w64 everything that needs no Qt: the core
# library and its test programs, the Portvane kernel driver, and
# vantrel92-cli.exe and portvane-probe.exe, which carry it; 32-bit into
# build-mingw32/, 64-bit into build-mingw64/. Then checks them:
#  - the driver images: native subsystem, imports from the kernel and the HAL
#    only, a checksum; both programs: console programs carrying their build's
#    driver byte for byte; the language libraries English.dll and
#    Italiano.dll: resource-only, without code to run or imports;
#  - every 32-bit image imports only what Windows XP SP3 has, so also no mingw
#    run-time DLL (scripts/check-xp-imports.sh), and so do the 64-bit test
#    programs, which link the whole core and C++ run-time as the programs to
#    come will; the check itself must refuse a program that needs
#    GetTickCount64;
#  - the 64-bit test programs pass under Wine (ctest, through
#    scripts/wine-run.sh); the 64-bit vantrel92-cli.exe does what the Linux one
#    does on the simulated calculator (scripts/wine-cli-compare.sh, against
#    build/'s program, built here when missing); the driver loads under Wine
#    (scripts/wine-driver-smoke.sh). This Wine runs no 32-bit programs;
#  - the window program vantrel92.exe: a GUI program that imports only the
#    system's core, window, control, dialog and drawing libraries and carries
#    its build's driver; under Wine (64-bit, on a virtual display) its test
#    build is driven end to end (scripts/wine-gui-test.sh) against the
#    command-line program of the Linux build in build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The test programs are built from GoogleTest's sources (test list).
"$top/scripts/install-deps.sh" run test windows
jobs=$(nproc)
wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}

fail() { echo "cross-build: $*" >&2; exit 1; }

hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }

check_driver() { # image objdump expected-magic
  local image=$1 objdump=$2 magic=$3 header dlls
  header=$("$objdump" -p "$image")
  grep -Eq "^Subsystem[[:space:]]+00000001[[:space:]]+\(NT native\)" <<<"$header" \
    || fail "$image: not a native-subsystem image"
  grep "^Magic" <<<"$header" | grep -Fq "($magic)" \
    || fail "$image: not a $magic image"
  grep -q "relocations stripped" <<<"$header" && fail "$image: cannot be relocated"
  grep -Eq "^CheckSum[[:space:]]+0*[1-9a-f]" <<<"$header" || fail "$image: no checksum"
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header" | sort -u | tr '\n' ' ')
  grep -qw "ntoskrnl.exe" <<<"$dlls" || fail "$image: does not import from ntoskrnl.exe"
  for dll in $dlls; do
    case $dll in ntoskrnl.exe|HAL.dll) ;; *) fail "$image: imports from $dll" ;; esac
  done
  LC_ALL=C grep -aq "Portvane Driver (sys)" "$image" || fail "$image: no identification text"
  echo "$image: native $magic, imports: $dlls"
}

check_carrier() { # program driver objdump
  local program=$1 driver=$2 objdump=$3 header dlls
  header=$("$objdump" -p "$program")
  grep -Eq "^Subsystem[[:space:]]+00000003[[:space:]]+\(Windows CUI\)" <<<"$header" \
    || fail "$program: not a console program"
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header" | sort -u | tr '\n' ' ')
  grep -Eiq "libstdc|libgcc|libwinpthread" <<<"$dlls" && fail "$program: needs mingw run-time DLLs: $dlls"
  hex "$program" | grep -qF "$(hex "$driver")" || fail "$program: does not carry $driver byte for byte"
  echo "$program: console program of $(stat -c %s "$program") bytes carrying $(stat -c %s "$driver") bytes of driver, imports: $dlls"
}

check_language_library() { # library objdump
  local library=$1 objdump=$2 header
  header=$("$objdump" -p "$library")
  grep -Eq "^[[:space:]]+DLL$" <<<"$header" || fail "$library: not a library"
  grep -Eq "^AddressOfEntryPoint[[:space:]]+0+$" <<<"$header" || fail "$library: has an entry point"
  grep -q "DLL Name:" <<<"$header" && fail "$library: imports from other libraries"
  grep -q "Resource Directory \[.rsrc\]" <<<"$header" || fail "$library: no resources"
  echo "$library: resource-only library of $(stat -c %s "$library") bytes"
}

# The check must see a later Windows' function, or it checks nothing.
check_the_xp_check() {
  local canary
  canary=$(mktemp -d)/canary
  printf '#include <windows.h>\nint main(void) { return (int)GetTickCount64(); }\n' >"$canary.c"
  i686-w64-mingw32-gcc -D_WIN32_WINNT=0x0600 -static -o "$canary.exe" "$canary.c"
  if "$top/scripts/check-xp-imports.sh" "$canary.exe" 2>"$canary.log"; then
    fail "check-xp-imports.sh let GetTickCount64 pass"
  fi
  grep -q "kernel32!GetTickCount64" "$canary.log" || fail "check-xp-imports.sh: $(cat "$canary.log")"
  rm -rf "$(dirname "$canary")"
}

# One Wine prefix and one server for the whole job, made while the builds run.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-wine.XXXXXX")
export WINEPREFIX VANTREL_WINE_PERSIST=always
wine_ready=
finish() {
  [ -n "$wine_ready" ] && wait "$wine_ready" 2>/dev/null || true
  "$wine_dir/wineserver" -k 2>/dev/null || true
  "$wine_dir/wineserver" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
}
trap finish EXIT
"$top/scripts/wine-run.sh" </dev/null >/dev/null 2>&1 &
wine_ready=$!

check_window_program() { # program driver objdump
  local program=$1 driver=$2 objdump=$3 header dlls
  header=$("$objdump" -p "$program")
  grep -Eq "^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)" <<<"$header" \
    || fail "$program: not a window program"
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header" | sort -u | tr '\n' ' ')
  for dll in $dlls; do
    case ${dll,,} in
      kernel32.dll|advapi32.dll|msvcrt.dll|user32.dll|comctl32.dll|comdlg32.dll|gdi32.dll|setupapi.dll) ;;
      *) fail "$program: imports from $dll" ;;
    esac
  done
  hex "$program" | grep -qF "$(hex "$driver")" || fail "$program: does not carry $driver byte for byte"
  echo "$program: window program of $(stat -c %s "$program") bytes, imports: $dlls"
}

# The test programs are built for 64-bit Windows only, where Wine runs them.
# The 64-bit build first: it draws the about clip (its generator runs under
# Wine), which the 32-bit build copies.
for arch in x86_64 i686; do
  clip=()
  case $arch in
    i686) dir="$top/build-mingw32" magic=PE32 tests=OFF
          clip=(-DVANTREL_ABOUT_CLIP="$top/build-mingw64/bin/Vantrel92.avi") ;;
    x86_64) dir="$top/build-mingw64" magic=PE32+ tests=ON ;;
  esac
  objdump=$arch-w64-mingw32-objdump
  cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVANTREL_GUI=OFF -DVANTREL_BENCH=OFF -DVANTREL_TESTS=$tests "${clip[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  check_driver "$dir/driver/Portvane.sys" "$objdump" "$magic"
  for program in port/probe/portvane-probe.exe bin/vantrel92-cli.exe; do
    check_carrier "$dir/$program" "$dir/driver/Portvane.sys" "$objdump"
  done
  for language in English Italiano; do
    check_language_library "$dir/bin/$language.dll" "$objdump"
  done
  check_window_program "$dir/bin/vantrel92.exe" "$dir/driver/Portvane.sys" "$objdump"
  [ -s "$dir/bin/Vantrel92.avi" ] || fail "$dir/bin/Vantrel92.avi: no about clip"
done

check_the_xp_check
images() { find "$1" -path '*/CMakeFiles' -prune -o \( -name '*.exe' -o -name '*.dll' -o -name '*.sys' \) -print | sort; }
mapfile -t shipped < <(images "$top/build-mingw32")
mapfile -t tests < <(images "$top/build-mingw64/tests")
"$top/scripts/check-xp-imports.sh" "${shipped[@]}" "${tests[@]}"

wait "$wine_ready" || fail "the Wine prefix could not be made"
wine_ready=
# A test program that fails is run once more: under load Wine has been seen to
# end one at its start, before it printed anything. A real failure fails twice.
# On a virtual display: the window tests make property sheets.
xvfb-run -a ctest --test-dir "$top/build-mingw64" --output-on-failure -j "$jobs" --repeat until-pass:2

# The Linux program to compare with: build/'s, as scripts/test.sh (run before
# this in CI) leaves it, brought up to date or built here when missing.
linux_cli=${VANTREL_LINUX_CLI:-}
if [ -z "$linux_cli" ]; then
  [ -f "$top/build/CMakeCache.txt" ] || cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$top/build" -j "$jobs" --target vantrel92-cli >/dev/null
  linux_cli=$top/build/bin/vantrel92-cli
fi
"$top/scripts/wine-cli-compare.sh" "$top/build-mingw64/bin/vantrel92-cli.exe" "$linux_cli"
"$top/scripts/wine-driver-smoke.sh" "$top/build-mingw64/port/probe/portvane-probe.exe" \
  "$top/build-mingw64/bin/vantrel92-cli.exe"
# The Windows serial code through Wine's serial layer: the gray cable on a
# pseudo-terminal mapped as a COM port, every exchange.
[ -f "$top/build/CMakeCache.txt" ] || cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build" -j "$jobs" --target vantrel92-gray-pty >/dev/null
"$top/scripts/gray-cable-pty-test.sh" "$top/build/sim/tools/vantrel92-gray-pty" "$linux_cli" \
  "$top/build-mingw64/bin/vantrel92-cli.exe"

# The window program end to end, against the same Linux command-line program.
env -u WINEPREFIX "$top/scripts/wine-gui-test.sh" "$top/build-mingw64/bin" "$linux_cli"
