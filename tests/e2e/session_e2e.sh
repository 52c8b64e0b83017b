#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The run ends in other ways than the close, and the arrangement survives: the end of the session
# (SIGTERM, SIGHUP, SIGINT, many at once), the X connection breaking, the program file replaced
# while it runs; a settings file the start could not read is left alone; a stalled sound server
# does not hold the window.
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
pid= pa=
trap 'kill "$pid" 2>/dev/null; [[ -n "$pa" ]] && kill -CONT "$pa" && kill "$pa"; rm -rf "$work"' EXIT
chmod 755 "$work"
record='1500,1200,12000,6000,"","",7,3,"",9000,2000,#FALSE#,#TRUE#,3000,4000,1'
install_copy "$work/app" tarvola
ini="$work/app/tarvola.ini"
start() { start_program "$work/app/tarvola" "$work/stderr"; }
prepare() { printf '%s\r\n' "$record" >"$ini"; touch -d @1 "$ini"; }
ended_with() {  # ended_with <status>: the program ended within 5 s with that exit status
  wait_exit "$pid" 5 && { wait "$pid"; [[ $? == "$1" ]]; }
}
faster() {  # sign 0's roll speed one up: its right arrow on the panel
  xdotool mousemove --window "$panel" 240 40 click 1
  sleep 0.3
}

# --- The end of the session: each signal saves as the close does, and ends the program.
for signal in TERM HUP INT; do
  prepare
  start
  kill -s "$signal" "$pid"
  check "SIG$signal ends the program as the close does" ended_with 0
  check "and writes the record read at start back, equal" \
    test "$(stat -c %Y "$ini")" -gt 1 -a "$(head -c -2 "$ini")" = "$record"
done
prepare
start
faster
kill -TERM "$pid"
check "SIGTERM after a change with the mouse ends the program" ended_with 0
check "and the change is stored" test "$(ini_field "$ini" 7)" = 8

# Many signals at once, during the save too: one whole record, written once. The file is a FIFO
# read by cat: a second save would add a record, or fail without a reader and say so.
rm -f "$ini" && mkfifo "$ini"
cat "$ini" >"$work/got" &
reader=$!
start
for _ in $(seq 1 40); do kill -TERM "$pid" 2>/dev/null; kill -HUP "$pid" 2>/dev/null; done
check "a storm of SIGTERM and SIGHUP ends the program" ended_with 0
wait_exit "$reader" 5
check "one record is written, whole" test "$(tr -d '\r' <"$work/got" | wc -l)" = 1 -a "$(tail -c 2 "$work/got" | od -An -tx1 | xargs)" = "0d 0a"
rm -f "$ini"

# --- The X connection breaks (the server ends or drops the program): what the program holds is
# saved without the display, the windows' places as they were.
prepare
start
faster
xkill -id "$bus" >/dev/null
check "when the X connection breaks the program ends" wait_exit "$pid" 5
check "the change and the places read at start are stored" \
  test "$(ini_field "$ini" 1-8)" = '1500,1200,12000,6000,"","",8,3'

# --- The program file replaced while it runs (an upgrade, a new build): the close writes the
# file the start read, not "tarvola (deleted).ini".
prepare
start
cp "$work/app/tarvola" "$work/app/.new" && mv -f "$work/app/.new" "$work/app/tarvola"
faster
check "the replaced program closes" close_bus
check "the settings file read at start is written" test "$(ini_field "$ini" 7)" = 8
check "no other settings file appears" test "$(ls "$work/app" | grep -c '\.ini$')" = 1
check "nothing was printed but the toolkit's word on the broken connection" \
  test -z "$(grep -v '^The X11 connection broke' "$work/stderr")"

# --- A settings file that is there but could not be read (another user's, mode 600, in a folder
# this user may write) is left alone, with one line at the close.
prepare
chmod 600 "$ini" && chmod 777 "$work/app" && cp -p "$ini" "$work/before.ini"
home="$work/home" && mkdir -p "$home/runtime" && chmod 700 "$home/runtime" && chown -R nobody "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
  "$work/app/tarvola" 2>"$work/nobody.stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
check "another user's program starts" test -n "$bus"
check "and closes" close_bus
check "the file it could not read is left as it was" cmp -s "$work/before.ini" "$ini"
check "one line says the settings were not saved" \
  test "$(grep -c '^tarvola: the settings were not saved: ' "$work/nobody.stderr")" = 1 -a "$(wc -l <"$work/nobody.stderr")" = 1
chmod 755 "$work/app"

# --- The sound server stalled (PulseAudio stopped): the middle door still moves within the
# sound's length and a margin, in silence, without a message; not after the server's 30 s.
export XDG_RUNTIME_DIR="$work/pulse" && mkdir -m 700 "$XDG_RUNTIME_DIR"
HOME="$work" pulseaudio --daemonize=no -n --load=module-null-sink --load=module-native-protocol-unix \
  --exit-idle-time=-1 --use-pid-file=no >/dev/null 2>&1 &
pa=$!
for _ in $(seq 1 100); do [[ -S "$XDG_RUNTIME_DIR/pulse/native" ]] && break; sleep 0.05; done
kill -STOP "$pa"
prepare
: >"$work/stderr"
start
idle_again() {  # the main thread back in its event loop's poll for half a second running
  local in_a_row=0 end=$((SECONDS + $1))
  while ((SECONDS < end)); do
    [[ $(cat "/proc/$pid/wchan" 2>/dev/null) == *poll* ]] && in_a_row=$((in_a_row + 1)) || in_a_row=0
    ((in_a_row >= 5)) && return 0
    sleep 0.1
  done
  return 1
}
idle_again 10
click_at "$panel" 30 78
sleep 0.3
check "with the sound server stopped, the middle door has moved and the window answers within 8 s" idle_again 8
check "the program closes" close_bus
check "nothing was printed" test ! -s "$work/stderr"
finish
