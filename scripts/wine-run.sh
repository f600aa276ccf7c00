#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine: the emulator of the Windows cross
# builds, so that ctest runs their test programs (see cmake/), and the way the
# Windows scripts start programs. Exits with the program's status.
#
# The Wine prefix is $WINEPREFIX when set (scripts/cross-build.sh makes one
# per job in a temporary folder and keeps one wineserver for it); otherwise
# one per user under $TMPDIR, made on first use, whose server ends by itself
# a minute after its last program.
set -euo pipefail

wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vantrel-wine-$(id -u)}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine_dir/wine64" wineboot -i >/dev/null 2>&1
      # The registry reaches its files only when the server writes them out.
      "$wine_dir/wineserver" -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# Starts the prefix's server unless one runs already (then this does nothing).
"$wine_dir/wineserver" -p60 2>/dev/null || true

exec "$wine_dir/wine64" "$@"
