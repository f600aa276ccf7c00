#!/usr/bin/env bash
# The command-line program's real serial code end to end: the simulated
# calculator behind a gray cable on a pseudo-terminal (vantrel92-gray-pty),
# and every exchange through it: dir, get, send, screen, backup, restore and
# listen. Each file must equal the one the Linux program writes with the
# calculator built in (--simulate), byte for byte. The black cable is tried
# too: a pseudo-terminal has no modem lines, and the program must say so.
#   scripts/gray-cable-pty-test.sh PTY-PROGRAM LINUX-CLI [WINDOWS-CLI.EXE]
# With the Windows program it runs under Wine (scripts/wine-run.sh), the
# pseudo-terminal mapped as COM33 in the Wine prefix; the reference files
# still come from the Linux program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pty_program=$(realpath "${1:?usage: gray-cable-pty-test.sh PTY-PROGRAM LINUX-CLI [WINDOWS-CLI.EXE]}")
linux_cli=$(realpath "${2:?usage: gray-cable-pty-test.sh PTY-PROGRAM LINUX-CLI [WINDOWS-CLI.EXE]}")
windows_cli=${3:+$(realpath "$3")}
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-gray-pty.XXXXXX")
export XDG_CONFIG_HOME=$work/config
fail() { echo "gray cable on a pseudo-terminal: $*" >&2; exit 1; }

mkfifo "$work/commands"
"$pty_program" <"$work/commands" >"$work/pty-path" 2>"$work/pty-err" &
pty_pid=$!
exec 7>"$work/commands"
cleanup() {
  exec 7>&- || true
  kill "$pty_pid" 2>/dev/null || true
  wait "$pty_pid" 2>/dev/null || true
  [ -z "${com_link:-}" ] || rm -f "$com_link"
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/pty-path" ] && break; sleep 0.1; done
pty=$(head -n 1 "$work/pty-path")
[ -c "$pty" ] || fail "no pseudo-terminal: $(cat "$work/pty-err")"

port=$pty
if [ -n "$windows_cli" ]; then
  "$here/wine-run.sh"
  prefix=${WINEPREFIX:-${TMPDIR:-/tmp}/vantrel-wine-$(id -u)}
  com_link="$prefix/dosdevices/com33"
  ln -sfn "$pty" "$com_link"
  port=COM33
fi

# One run of the program under test, in the folder `under`.
run() {
  if [ -n "$windows_cli" ]; then
    (cd "$work/under" && "$here/wine-run.sh" "$windows_cli" --cable gray --port "$port" "$@")
  else
    (cd "$work/under" && "$linux_cli" --cable gray --port "$port" "$@")
  fi
}
reference() { (cd "$work/reference" && "$linux_cli" --simulate "$@"); }
mkdir -p "$work/under" "$work/reference"

run dir --json | tr -d '\r' >"$work/under/listing.json" || fail "dir failed"
reference dir --json >"$work/reference/listing.json"
cmp -s "$work/under/listing.json" "$work/reference/listing.json" || fail "dir lists otherwise"

vars=('main\greeting' 'main\logo' 'algebra\poly')
for side in under reference; do
  if [ $side = under ]; then go=run; else go=reference; fi
  $go get "${vars[@]}" -C . -f >/dev/null 2>&1 || fail "get failed ($side)"
  $go get "${vars[@]}" -C . -f --group lesson >/dev/null 2>&1 || fail "get --group failed ($side)"
  $go screen screen.png -f >/dev/null 2>&1 || fail "screen failed ($side)"
  $go backup calc.92b -f >/dev/null 2>&1 || fail "backup failed ($side)"
done
for file in greeting.92s logo.92i poly.92s lesson.92g screen.png calc.92b; do
  cmp -s "$work/under/$file" "$work/reference/$file" || fail "$file differs from the built-in calculator's"
done

# Sent back under a new name, it is on the calculator and comes back the same.
python3 - "$work/under/greeting.92s" "$work/under/fresh.92s" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
name = data.find(b'greeting')
data[name:name + 8] = b'fresh\0\0\0'
open(sys.argv[2], 'wb').write(data)
PY
run send fresh.92s >/dev/null 2>&1 || fail "send failed"
mkdir -p "$work/under/back"
run get 'main\fresh' -C back >/dev/null 2>&1 || fail "the file sent is not on the calculator"
cmp -s "$work/under/back/fresh.92s" "$work/under/fresh.92s" || fail "the file sent came back otherwise"
run restore calc.92b --yes >/dev/null 2>&1 || fail "restore failed"
run dir --json | tr -d '\r' >"$work/under/restored.json"
cmp -s "$work/under/restored.json" "$work/reference/listing.json" || fail "the restored calculator lists otherwise"

# The calculator sends from its own menu while the program listens.
mkdir -p "$work/under/heard"
run listen --once -C heard >/dev/null 2>"$work/listen.err" &
listener=$!
sleep 2
echo 'send main\greeting' >&7
wait $listener || fail "listen failed: $(cat "$work/listen.err")"
cmp -s "$work/under/heard/greeting.92s" "$work/reference/greeting.92s" || fail "what listen saved differs"

# The black cable needs modem lines, which a pseudo-terminal lacks.
status=0
if [ -n "$windows_cli" ]; then
  (cd "$work/under" && "$here/wine-run.sh" "$windows_cli" --cable black --port "$port" dir) 2>"$work/black.err" || status=$?
else
  "$linux_cli" --cable black --port "$port" dir 2>"$work/black.err" || status=$?
fi
[ $status = 1 ] || fail "the black cable on a pseudo-terminal ends with $status"
grep -q "modem lines\|not a serial port" "$work/black.err" || fail "the black cable's message: $(cat "$work/black.err")"
echo "gray cable on $port: dir, get, send, screen, backup, restore and listen as the built-in calculator"
