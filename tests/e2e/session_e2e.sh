#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The run ends in other ways than the close, and the arrangement survives: the end of the session
# (SIGTERM, SIGHUP, SIGINT, many at once), the X connection breaking, the program file replaced
# while it runs; no display to be had, and the toolkit's messages while it connects passed on; a
# record that fails late gives way to the fallback; a settings file the start could not read is
# left alone; a stalled sound server does not hold the window. (A record restored and written
# back unchanged, in a folder whose name is not UTF-8, is the journey's second start.)
source "$(dirname "$0")/lib.sh"
pa=
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

# Top-left corner of a window's frame on the screen: "x y".
frame_origin() {
  local x y l r t b
  read -r x y < <(client_origin "$1")
  read -r l r t b < <(frame_extents "$1")
  echo $((x - l)) $((y - t))
}

# --- No display to be had: one line of the program's own and an ordinary failure, no abort.
out=$(DISPLAY=:99 QT_LOGGING_RULES= "$TARVOLA_BIN/tarvola" 2>&1); rc=$?  # the toolkit's own words not silenced
check "without a display it says so in one line and exits with 1" \
  test "$rc:$out" = "1:tarvola: cannot open the X display :99; start it from a desktop session."

# --- A record that fails late (a door speed of 0) after the windows were placed: the fallback
# places their frames again, as on a first start. At close the fallback values are written, with
# the views and paths read before the failure. (A file that fails at once is a widget test.)
printf '%s\r\n' "${record/,3000,/,0,}" >"$ini"
# The toolkit's messages while it connects are held back.
QT_LOGGING_RULES=qt.qpa.plugin=true start_program "$work/app/tarvola" "$work/toolkit"
read -r l r t b < <(frame_extents "$bus")
bus_bottom=$((218 + t + b))
check "after a late failure the bus window's frame stands at the top left corner, the panel's just below" \
  test "$(frame_origin "$bus") $(frame_origin "$panel")" = "0 0 0 $bus_bottom"
check "closing ends the program" close_bus
check "and those messages were passed on once it had connected" grep -q '^qt.qpa.plugin: init_platform' "$work/toolkit"
printf '0,0,0,%s,"","",1,1,"",8790,1680,#FALSE#,#TRUE#,10000,6000,0\r\n' $((bus_bottom * 15)) >"$work/expected.ini"
check "the fallback record is written, the panel's top the bus window's outer height" cmp -s "$work/expected.ini" "$ini"

# --- The end of the session: each signal saves as the close does, the change made with the
# mouse and the rest as read at start, and ends the program.
for signal in TERM HUP INT; do
  prepare
  start
  faster
  kill -s "$signal" "$pid"
  check "SIG$signal ends the program as the close does" ended_with 0
  check "and writes the record back with the change" test "$(head -c -2 "$ini")" = "${record/,7,3,/,8,3,}"
done

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

# --- A session manager (a small one on libSM, driven line by line): a checkpoint and a log-out
# the user cancels each save and keep the windows; a log-out saves, and the manager's die then
# ends the program without saving again.
prepare
coproc sm { "$TEST_SESSION_MANAGER"; }
sm_says() { local line; read -r -t 5 line <&"${sm[0]}" && [[ $line == "$1" ]]; }  # sm_says <line>
read -r -t 5 address <&"${sm[0]}"
SESSION_MANAGER=${address#SESSION_MANAGER=} start
check "the program joins the session" sm_says registered
for request in checkpoint cancel logout; do
  faster
  before=$(ini_field "$ini" 7)
  echo "$request" >&"${sm[1]}"
  check "a $request: the program reports its save done" sm_says "$request saved"
  check "the record was written with the change" test "$(ini_field "$ini" 7)" = $((before + 1))
  sleep 0.5
  check "and the windows stay" test -n "$(xdotool search --pid "$pid" --onlyvisible --name Tarvola 2>/dev/null)"
done
saved=$(stat -c %i "$ini")
echo die >&"${sm[1]}"
check "the manager's die ends the program" ended_with 0
check "without a second save" test "$(stat -c %i "$ini")" = "$saved"
check "it leaves the session" sm_says closed
kill "$sm_PID" 2>/dev/null

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
check "the settings file read at start is written, not one named after the deleted file" test "$(ini_field "$ini" 7)" = 8
check "nothing was printed but the toolkit's word on the broken connection" \
  test -z "$(grep -v '^The X11 connection broke' "$work/stderr")"

# --- A settings file that is there but could not be read (another user's, mode 600, in a folder
# this user may write) is left alone, with one line at the close; that others may write the
# folder is said once, at start.
prepare
chmod 600 "$ini" && chmod 777 "$work/app" && cp -p "$ini" "$work/before.ini"
home="$work/home" && mkdir -p "$home/runtime" && chmod 700 "$home/runtime" && chown -R nobody "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
  "$work/app/tarvola" 2>"$work/nobody.stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
check "and closes" close_bus
check "the file it could not read is left as it was" cmp -s "$work/before.ini" "$ini"
check "one line says the settings were not saved" \
  test "$(grep -c '^tarvola: the settings were not saved: ' "$work/nobody.stderr")" = 1
check "one line says other users may write the folder, and nothing else is said" \
  test "$(grep -cxF "tarvola: other users may write to the settings folder $work/app" "$work/nobody.stderr")" = 1 \
    -a "$(wc -l <"$work/nobody.stderr")" = 2
chmod 755 "$work/app"

# --- A toolkit warning while it connects (no XDG_RUNTIME_DIR) is passed on, not taken for no display.
XDG_RUNTIME_DIR= start
check "with a warning while it connects the program starts" test -n "$bus"
close_bus

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
