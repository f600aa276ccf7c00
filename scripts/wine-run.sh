#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine: the emulator of the Windows cross
# builds, so that ctest runs their test programs (see cmake/), and the way the
# Windows scripts start programs. Exits with the program's status. Without a
# program it only gets Wine ready.
#
# The Wine prefix is $WINEPREFIX when set (scripts/cross-build.sh makes one
# per job in a temporary folder); otherwise one per user under $TMPDIR. It is
# made on first use. The server ends $VANTREL_WINE_PERSIST seconds after its
# last program (60; "always": only when killed). Wine's own services are
# started here by a boot that holds none of the caller's output open: started
# by a test program they would inherit its pipes, and ctest would wait for
# them forever.
set -euo pipefail

wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vantrel-wine-$(id -u)}
persist=${VANTREL_WINE_PERSIST:-60}
[ "$persist" = always ] && persist=

ready="$WINEPREFIX/.vantrel-ready"
mkdir -p "$(dirname "$WINEPREFIX")"
# None of these may keep the lock's descriptor: the server and services live on.
(
  flock 9
  if [ ! -f "$ready" ]; then
    "$wine_dir/wine64" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    # Wine's own fonts with Windows' metrics (fonts-wine: Tahoma, MS Sans
    # Serif...), so that dialogs are laid out as on Windows. This Wine looks
    # for them beside its data in a path it cannot open, so they go where
    # it always looks: the prefix's Fonts folder.
    if [ -d "${VANTREL_WINE_FONTS:-/usr/share/wine/fonts}" ]; then
      cp -n "${VANTREL_WINE_FONTS:-/usr/share/wine/fonts}"/* "$WINEPREFIX/drive_c/windows/Fonts/" 9>&-
    fi
    # Windows are made without a display: the tests that create dialogs
    # need no X server.
    "$wine_dir/wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
      </dev/null >/dev/null 2>&1 9>&-
    # Making a prefix leaves two service managers behind, which then refuse
    # or time out driver starts: Wine is shut down and booted afresh.
    "$wine_dir/wineserver" -k 9>&- 2>/dev/null || true
    "$wine_dir/wineserver" -w 9>&- 2>/dev/null || true
  fi
  # A new server (none ran) gets its services now.
  if "$wine_dir/wineserver" -p$persist </dev/null >/dev/null 2>&1 9>&-; then
    "$wine_dir/wine64" wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
  touch "$ready"
) 9>"$WINEPREFIX.lock"

[ $# -gt 0 ] || exit 0
exec "$wine_dir/wine64" "$@"
