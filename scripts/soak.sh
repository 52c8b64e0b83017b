#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Soak run: starts and closes the real program again and again on a private X
# server, each time with a damaged settings file (and damaged pictures named in
# it), and throws random mouse and keyboard input at both windows meanwhile.
#
#   scripts/soak.sh [build folder]      (default: build)
#   SOAK_SECONDS=120   how long to keep starting new cycles
#
# After every cycle: the program must still be running before it is closed (a
# crash otherwise), must end within 5 s of alt+F4 once it is idle (a hang
# otherwise), and must leave a whole settings file behind (one record of
# sixteen fields ended by CR LF, checked by the program's own reader). Counts are printed at the end; any crash, hang
# or broken file makes the exit status non-zero. The settings file and the
# input of every failed cycle are kept in a folder named at the end.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "soak.sh: no build folder '${1:-build}'" >&2; exit 2; }

if [[ -z "${SOAK_INSIDE_X:-}" ]]; then
  for tool in Xvfb openbox xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "soak.sh: $tool is missing (run 'make deps-test')" >&2; exit 2; }
  done
  for built in bin/tarvola tools/settings_check; do
    [[ -x "$build/$built" ]] || { echo "soak.sh: $build/$built is not built" >&2; exit 2; }
  done
  SOAK_INSIDE_X=1 QT_QPA_PLATFORM=xcb QT_LOGGING_RULES='qt.qpa.*=false' \
    exec "$here/testing/with-x.sh" "$0" "$build"
fi

TARVOLA_BIN="$build/bin"
source "$here/testing/xsession.sh"
seconds=${SOAK_SECONDS:-120}
work=$(mktemp -d)
kept=$(mktemp -d "${TMPDIR:-/tmp}/tarvola-soak-failures.XXXXXX")
trap 'rm -rf "$work"; rmdir "$kept" 2>/dev/null' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

app="$work/app"
install_copy "$app" tarvola
ini="$app/tarvola.ini"

cycles=0 actions=0 crashes=0 hangs=0 broken=0 dialogs=0

rnd() { echo $((RANDOM % $1)); }            # 0 .. n-1
pick() { local a=("$@"); echo "${a[RANDOM % ${#a[@]}]}"; }

# ---------------------------------------------------------------- pictures
pics="$work/pictures"
mkdir -p "$pics"
make_pictures() {
  local good="$here/assets/pictures/door_leaf.bmp"
  cp "$good" "$pics/good.bmp"
  cp "$here/assets/pictures/switch_naka.bmp" "$pics/good2.bmp"
  head -c "$(( $(stat -c %s "$good") / 3 ))" "$good" >"$pics/truncated.bmp"
  head -c 20 "$good" >"$pics/header-only.bmp"
  : >"$pics/empty.gif"
  head -c 4096 /dev/urandom >"$pics/noise.jpg"
  { printf 'GIF89a\xff\xff\xff\xff'; head -c 300 /dev/urandom; } >"$pics/huge.gif"
  { printf '\xd7\xcd\xc6\x9a'; head -c 200 /dev/urandom; } >"$pics/noise.wmf"
  { printf '\x01\x00\x00\x00'; head -c 200 /dev/urandom; } >"$pics/noise.emf"
  # A bitmap header claiming 60000 x 60000 pixels.
  printf 'BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x60\xea\x00\x00\x60\xea\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00' \
    >"$pics/giant.bmp"
  mkdir -p "$pics/a folder.bmp"
  cp "$pics/truncated.bmp" "$pics/unreadable.bmp"; chmod 000 "$pics/unreadable.bmp"
}
make_pictures
picture_path() {
  pick "" "" "$pics/good.bmp" "$pics/good2.bmp" "$pics/truncated.bmp" "$pics/header-only.bmp" \
    "$pics/empty.gif" "$pics/noise.jpg" "$pics/huge.gif" "$pics/noise.wmf" "$pics/noise.emf" \
    "$pics/giant.bmp" "$pics/a folder.bmp" "$pics/unreadable.bmp" "$pics/missing.bmp" \
    "$pics/with,comma.bmp" "/" "relative.bmp"
}

# ---------------------------------------------------------------- settings files
number() { pick 0 1 -1 15 300 3000 7 "$(rnd 30001)" "$(( -$(rnd 30000) ))" 32767 32768 -32769 \
  2147483647 2147483648 -2147483649 99999999999999999999 1e38 3.4e39 -1e300 1.5 2.5 -0.5 NaN Inf "" " 12 " x; }
speed() { pick 1 2 50 "$(rnd 3000)"; }   # keeps door movements short on the valid side
valid_record() {  # a record the program itself could have written
  printf '%s,%s,%s,%s,"%s","%s",%s,%s,"%s",%s,%s,%s,%s,%s,%s,%s\r\n' \
    "$(( $(rnd 600) * 15 ))" "$(( $(rnd 400) * 15 ))" "$(( $(rnd 800) * 15 ))" "$(( $(rnd 700) * 15 ))" \
    "$(pick "" "" "$pics/good.bmp")" "$(pick "" "$pics/good2.bmp")" "$(rnd 1001)" "$(rnd 1001)" \
    "$(pick "" "" "$pics/good2.bmp")" "$(( $(rnd 760) * 15 ))" "$(( $(rnd 220) * 15 ))" \
    "$(pick '#TRUE#' '#FALSE#')" "$(pick '#TRUE#' '#FALSE#')" "$(speed)" "$(speed)" "$(rnd 3)"
}
kinds=(missing empty noise truncated huge-numbers pictures pictures long-path extra-lines
       wrong-kinds valid previous)
damaged_settings() {  # damaged_settings <kind>: writes a damaged (or missing) settings file
  local kind=$1
  case "$kind" in
    missing) rm -f "$ini" ;;
    empty) : >"$ini" ;;
    noise) head -c "$(( 1 + $(rnd 2000) ))" /dev/urandom >"$ini" ;;
    truncated) valid_record >"$work/rec"; head -c "$(rnd "$(stat -c %s "$work/rec")")" "$work/rec" >"$ini" ;;
    huge-numbers)
      local f=() i
      IFS=, read -r -a f < <(valid_record | tr -d '\r')
      for i in 0 1 2 3 6 7 9 10 13 14 15; do ((RANDOM % 3 == 0)) && f[i]=$(number); done
      (IFS=,; printf '%s\r\n' "${f[*]}") >"$ini" ;;
    pictures)
      printf '0,0,0,3270,"%s","%s",1,1,"%s",8790,1680,#TRUE#,#TRUE#,%s,%s,%s\r\n' \
        "$(picture_path)" "$(picture_path)" "$(picture_path)" "$(speed)" "$(speed)" "$(rnd 3)" >"$ini" ;;
    long-path)
      printf '0,0,0,3270,"%s","",1,1,"%s",8790,1680,#TRUE#,#TRUE#,5,5,0\r\n' \
        "$(head -c $((1000 + $(rnd 100000))) /dev/zero | tr '\0' a)" "$pics/$(head -c 300 /dev/zero | tr '\0' b).bmp" >"$ini" ;;
    extra-lines) { valid_record; valid_record; printf 'x,y\r\n\r\n'; } >"$ini" ;;
    wrong-kinds)
      printf '%s,"a",%s,%s,%s,"b",%s,"7",%s,%s,%s,%s,%s,%s,%s,%s\r\n' "$(number)" "$(number)" "$(number)" \
        "$(picture_path)" "$(number)" "$(number)" "$(number)" "$(pick '#TRUE#' 1 0 TRUE '#MAYBE#' '""')" \
        "$(pick '#FALSE#' -1 '')" "$(pick '#TRUE#' 2)" "$(number)" "$(number)" "$(number)" >"$ini" ;;
    valid) valid_record >"$ini" ;;
    previous) [[ -f "$ini" ]] || valid_record >"$ini" ;;   # the last run's own file
  esac
}

# A settings file is whole when the program's own reader takes it as one record.
whole_settings() { "$build/tools/settings_check" "$1" 2>/dev/null; }

# ---------------------------------------------------------------- the program
# Waits until the program is idle in its event loop. A door movement runs inside its click
# handler and answers no input until it ends, sleeping or spinning between its steps; idle, the
# main thread waits in poll for the next event (the kernel names where a thread waits in
# /proc/PID/wchan, on any processor). One second of that in a row (ten looks) is idle: longer
# than the door sound, which may also wait in poll. Fails after $2 seconds.
wait_idle() {  # wait_idle <pid> <seconds>
  local where in_a_row=0 end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    where=$(cat "/proc/$1/wchan" 2>/dev/null) || return 0   # gone: nothing to wait for
    if [[ $where == *poll* ]]; then
      in_a_row=$((in_a_row + 1))
      ((in_a_row >= 10)) && return 0
    else
      in_a_row=0
    fi
    sleep 0.1
  done
  return 1
}

# Windows of the program other than the bus and the panel (menus, dialogs,
# message boxes) are sent Escape until they are gone.
dismiss_others() {  # dismiss_others <pid> <bus> <panel>
  local w tries
  for tries in 1 2 3 4 5 6; do
    local others=()
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
      [[ $w -eq $2 || $w -eq $3 ]] || others+=("$w")
    done
    ((${#others[@]} == 0)) && return 0
    dialogs=$((dialogs + 1))
    wait_idle "$1" 30 || return 1
    # Escape closes menus, the file dialog and message boxes; the version
    # dialog closes by Enter on its OK button, which has the focus.
    xdotool windowactivate "${others[-1]}" 2>/dev/null
    xdotool key --clearmodifiers "$( ((tries <= 2)) && echo Escape || echo Return)" 2>/dev/null
    sleep 0.2
  done
  return 1
}

client_size() { xwininfo -id "$1" | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w, h}'; }

# Where the two client areas are, once a cycle: the windows do not move by
# clicks inside them, and each look-up costs two processes on a busy machine.
locate() {  # locate <bus> <panel>: sets geometry=(x y w h  x y w h)
  local ox oy w h
  geometry=()
  for win in "$@"; do
    read -r ox oy < <(client_origin "$win")
    read -r w h < <(client_size "$win")
    geometry+=("$ox" "$oy" "$w" "$h")
  done
}

keys=(Up Down Left Right Up Down Return Escape space Tab)

# One random action on one of the two windows (the bus twice as often).
act() {  # act <bus> <panel>
  local i=$((RANDOM % 3 == 2 ? 4 : 0)) win x y k n list=()
  win=$([[ $i -eq 0 ]] && echo "$1" || echo "$2")
  x=$((geometry[i] + RANDOM % geometry[i + 2])); y=$((geometry[i + 1] + RANDOM % geometry[i + 3]))
  case $((RANDOM % 10)) in
    0|1|2) xdotool mousemove "$x" "$y" click 1 ;;
    3) xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1 ;;
    4) xdotool mousemove "$x" "$y" mousedown 1 mousemove_relative -- $((RANDOM % 200 - 100)) $((RANDOM % 120 - 60)) mouseup 1 ;;
    5) # the pop-up menu: an item chosen by arrows; when it is the picture
       # chooser, its dialog is dismissed by dismiss_others with Escape
       k=$((RANDOM % 3 == 0 ? 0 : 1))
       xdotool mousemove "$x" "$y" click 3 sleep 0.15 \
               key --clearmodifiers --repeat $((1 + RANDOM % 5)) --delay 40 Down \
               key --clearmodifiers "$([[ $k -eq 0 ]] && echo Escape || echo Return)" ;;
    6) xdotool mousemove "$x" "$y" click 2 ;;
    *) for ((n = 1 + RANDOM % 6; n > 0; n--)); do list+=("${keys[RANDOM % ${#keys[@]}]}"); done
       xdotool windowactivate "$win" key --clearmodifiers --delay 30 "${list[@]}" ;;
  esac
}

keep_failure() {  # keep_failure <what> <settings kind>
  local d="$kept/cycle-$cycles-$1"
  mkdir -p "$d"
  cp "$work/input.ini" "$d/input.ini" 2>/dev/null
  cp "$ini" "$d/after.ini" 2>/dev/null
  cp "$work/stderr" "$d/stderr" 2>/dev/null
  echo "$2" >"$d/kind"
  import -window root "$d/screen.png" 2>/dev/null
  if kill -0 "$pid" 2>/dev/null; then
    local w
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      echo "$w $(xdotool getwindowname "$w" 2>/dev/null)" \
           "$(xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | sed 's/.*= //')"
    done >"$d/windows"
  fi
  echo "cycle $cycles: $1 (settings: $2) — kept in $d"
}

echo "soak: ${seconds}s"
end=$((SECONDS + seconds))
while ((SECONDS < end)); do
  cycles=$((cycles + 1))
  started=$SECONDS
  kind=${kinds[RANDOM % ${#kinds[@]}]}
  damaged_settings "$kind"
  cp "$ini" "$work/input.ini" 2>/dev/null || rm -f "$work/input.ini"
  "$app/tarvola" 2>"$work/stderr" &
  pid=$!
  bus=$(wait_window "Tarvola　-　tarvola"); panel=$(wait_window "設定パネル")
  if [[ -z "$bus" || -z "$panel" ]]; then
    if kill -0 "$pid" 2>/dev/null; then
      hangs=$((hangs + 1)); keep_failure "no windows" "$kind"; kill -9 "$pid"
    else
      crashes=$((crashes + 1)); keep_failure "ended at start" "$kind"
    fi
    wait "$pid" 2>/dev/null
    continue
  fi

  alive=1
  locate "$bus" "$panel"
  for ((n = 3 + RANDOM % 12; n > 0; n--)); do
    act "$bus" "$panel" 2>/dev/null
    actions=$((actions + 1))
    if ! kill -0 "$pid" 2>/dev/null; then alive=0; break; fi
    dismiss_others "$pid" "$bus" "$panel" || break
  done

  if ((alive == 0)) || ! kill -0 "$pid" 2>/dev/null; then
    crashes=$((crashes + 1)); keep_failure "ended while in use" "$kind"
    wait "$pid" 2>/dev/null
    continue
  fi
  if ! wait_idle "$pid" 90 || ! dismiss_others "$pid" "$bus" "$panel"; then
    hangs=$((hangs + 1)); keep_failure "busy or a dialog would not close" "$kind"
    kill -9 "$pid"; wait "$pid" 2>/dev/null
    continue
  fi
  xdotool windowactivate --sync "$bus" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  if ! wait_exit "$pid" 5; then
    hangs=$((hangs + 1)); keep_failure "did not end within 5 s of alt+F4" "$kind"
    kill -9 "$pid"; wait "$pid" 2>/dev/null
    continue
  fi
  wait "$pid" 2>/dev/null; rc=$?
  if ((rc >= 128)); then
    crashes=$((crashes + 1)); keep_failure "ended by signal $((rc - 128)) on close" "$kind"
  elif ! whole_settings "$ini"; then
    broken=$((broken + 1)); keep_failure "settings file not whole" "$kind"
  fi
  echo "cycle $cycles: settings $kind, $((SECONDS - started)) s"
done

echo "cycles: $cycles"
echo "actions: $actions"
echo "dialogs and menus dismissed: $dialogs"
echo "crashes: $crashes"
echo "hangs: $hangs"
echo "broken settings files: $broken"
if ((crashes + hangs + broken > 0)); then
  echo "soak: FAILED; the failed cycles are kept in $kept"
  trap 'rm -rf "$work"' EXIT
  exit 1
fi
echo "soak: passed"
