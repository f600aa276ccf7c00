#!/usr/bin/env bash
# Cross-builds the Windows deliverables with mingw-w64: the Portvane kernel
# driver for 32-bit and 64-bit Windows and the portvane-probe tool that
# carries it, then checks the images: native subsystem, imports from the
# kernel and the HAL only, a checksum, and the image inside the probe byte
# for byte; and the language libraries English.dll and Italiano.dll:
# resource-only, without code to run or imports. Build folders:
# build-mingw32/ and build-mingw64/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" run windows

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

check_probe() { # probe driver objdump
  local probe=$1 driver=$2 objdump=$3 header dlls
  header=$("$objdump" -p "$probe")
  grep -Eq "^Subsystem[[:space:]]+00000003[[:space:]]+\(Windows CUI\)" <<<"$header" \
    || fail "$probe: not a console program"
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header" | sort -u | tr '\n' ' ')
  grep -Eiq "libstdc|libgcc|libwinpthread" <<<"$dlls" && fail "$probe: needs mingw run-time DLLs: $dlls"
  hex "$probe" | grep -qF "$(hex "$driver")" || fail "$probe: does not carry $driver byte for byte"
  echo "$probe: console program carrying $(stat -c %s "$driver") bytes of driver, imports: $dlls"
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

for arch in i686 x86_64; do
  case $arch in
    i686) dir="$top/build-mingw32" magic=PE32 ;;
    x86_64) dir="$top/build-mingw64" magic=PE32+ ;;
  esac
  cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVANTREL_GUI=OFF -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target Portvane portvane-probe vantrel_windows_dlls
  check_driver "$dir/driver/Portvane.sys" "$arch-w64-mingw32-objdump" "$magic"
  check_probe "$dir/driver/portvane-probe.exe" "$dir/driver/Portvane.sys" "$arch-w64-mingw32-objdump"
  for language in English Italiano; do
    check_language_library "$dir/bin/$language.dll" "$arch-w64-mingw32-objdump"
  done
done
