#!/usr/bin/env bash
# Pictures of every page of the Windows window program, in both languages,
# as Wine shows them, with the frame Wine draws itself when no window
# manager runs: OUT-DIR/windows-<language>-<page>.png, and of the remote
# window after 2+3 ENTER clicked on its keyboard (windows-<language>-remote.png).
# The test build plays the user's part (see gui/win32/Win32TestScript.h)
# and waits on each page until its picture is taken.
#   scripts/wine-gui-screenshots.sh OUT-DIR [WINDOWS-BIN-DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath "${1:?usage: $0 OUT-DIR [WINDOWS-BIN-DIR]}")
bin=${2:-$top/build-mingw64/bin}
wine_dir=${VANTREL_WINE_DIR:-/usr/lib/wine}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-shots.XXXXXX")
export WINEPREFIX=${WINEPREFIX:-$work/prefix} WINEDEBUG=-all
trap 'rm -rf "$work"' EXIT
"$top/scripts/wine-run.sh" </dev/null >/dev/null 2>&1
# wine-run.sh makes prefixes without a display driver, for the tests; the
# pictures need the X11 one.
"$wine_dir/wine64" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
mkdir -p "$out"
# Without a window manager Wine draws the caption and frame itself. The
# windows go to the display (wine-run.sh makes them without one), from a
# fresh start of Wine's own programs.
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null
"$wine_dir/wineserver" -k 2>/dev/null || true
"$wine_dir/wineserver" -w 2>/dev/null || true
cp "$bin"/*.dll "$bin"/*.avi "$bin/vantrel92-test.exe" "$work/"
key='HKLM\SOFTWARE\Corvessan\Vantrel 92'
pages=(directory screen configuration about remote)

for language in English Italiano; do
  index=1
  [ "$language" = Italiano ] && index=0
  "$wine_dir/wine64" reg add "$key" /v Version /t REG_SZ /d 1.0 /f >/dev/null
  "$wine_dir/wine64" reg add "$key" /v Port_LPT /t REG_SZ /d 0x378 /f >/dev/null
  "$wine_dir/wine64" reg add "$key" /v Language /t REG_DWORD /d $index /f >/dev/null
  "$wine_dir/wine64" reg add "$key" /v Timeout /t REG_DWORD /d 1000 /f >/dev/null
  # The Italian pictures are taken through the gray serial cable, so that
  # the configuration page shows a serial port.
  cable=0
  [ "$language" = Italiano ] && cable=2
  "$wine_dir/wine64" reg add "$key" /v Cable /t REG_DWORD /d $cable /f >/dev/null
  "$wine_dir/wine64" reg add "$key" /v Port_Serial /t REG_SZ /d COM4 /f >/dev/null
  rm -f "$WINEPREFIX"/drive_c/shot-*
  {
    echo "click IDC_DIRECTORY"
    echo "activate main"
    echo "select notes"
    echo "pause-for C:\\shot-0"
    echo "page 1"
    echo "click IDC_CAPTURE"
    echo "check IDC_ZOOM"
    echo "pause-for C:\\shot-1"
    echo "page 2"
    echo "pause-for C:\\shot-2"
    echo "page 3"
    echo "pause-for C:\\shot-3"
    echo "page 1"
    echo "click IDC_REMOTE"
    for pressed in 2 + 3 ENTER; do echo "remote-key $pressed"; done
    echo "remote-shows 5"
    echo "pause-for C:\\shot-4"
    echo "remote-close"
    echo "close"
  } >"$work/shots.txt"
  (cd "$work" && "$wine_dir/wine64" ./vantrel92-test.exe --test-script shots.txt --simulate </dev/null >/dev/null 2>&1) &
  runner=$!
  for n in 0 1 2 3 4; do
    for _ in $(seq 1 600); do
      # Every action before the n-th pause is done: the page waits.
      [ -f "$work/shots.txt.log" ] && [ "$(grep -c '^done: ' "$work/shots.txt.log")" -ge "$(grep -n pause-for "$work/shots.txt" | sed -n "$((n + 1))s/:.*//p" | awk '{print $1 - 1}')" ] && break
      sleep 0.1
    done
    sleep 1.5 # the page and the clip are drawn
    # The window alone: the black of the empty screen around it goes; the
    # remote window is taken by itself, without the sheet under it.
    window=root
    if [ "${pages[$n]}" = remote ]; then
      window=$(xwininfo -root -tree | awk '/"(TI-92 remote keyboard|Tastiera remota della TI-92)"/ {print $1; exit}')
    fi
    import -window "${window:-root}" "$work/root.png"
    convert "$work/root.png" -trim +repage "$out/windows-${language,,}-${pages[$n]}.png"
    touch "$WINEPREFIX/drive_c/shot-$n"
  done
  wait "$runner" || true
  rm -f "$work/shots.txt.log"
done
"$wine_dir/wineserver" -k 2>/dev/null || true
ls "$out"/windows-*.png
