#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The settings file as the program meets it under a window manager: a record read and written
# in a folder whose name is not UTF-8, and one that fails late after the windows were placed.
# (A record restored and written back unchanged is the journey's second start.)
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

start() { start_program "$1/tarvola" "$1.stderr" "${@:2}"; }  # start <folder> [arguments...]

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

# --- A folder whose name is not UTF-8 (unpacked from an archive made elsewhere): the file
# beside the program is read and written, not one at a decoded, wrong path.
# Its film is a Windows metafile, drawn by the renderer program beside it: a placeable metafile
# of 100 × 50 pixels (1440 units an inch), one solid red rectangle over the whole page.
odd="$work/"$'\xff\xfe'
install_copy "$odd" tarvola
words() { local v; for v; do printf "\\x%02x\\x%02x" $((v & 255)) $(((v >> 8) & 255)); done; }  # 16-bit, little-endian
printf "$(words 0xCDD7 0x9AC6 0 0 0 1500 750 1440 0 0 $((0xCDD7 ^ 0x9AC6 ^ 1500 ^ 750 ^ 1440)) \
  1 9 0x0300 40 0 1 7 0 0  5 0 0x020B 0 0  5 0 0x020C 750 1500  7 0 0x02FC 0 0x00FF 0 0 \
  4 0 0x012D 0  7 0 0x041B 750 1500 0 0  3 0 0)" >"$work/film.wmf"
ini="$odd/tarvola.ini"
printf '%s\r\n' '1500,1200,12000,6000,"'"$work"'/film.wmf","",7,3,"",9000,2000,#FALSE#,#TRUE#,3000,4000,1' >"$ini"
touch -d @1 "$ini"
start "$odd"
check "the program starts in a folder whose name is not UTF-8" test -n "$bus" -a -n "$panel"
read -r fx fy < <(frame_origin "$bus")
check "the settings file beside it is read" test "$fx $fy" = "100 80"
read -r bx by < <(client_origin "$bus")
check "the metafile film is drawn by the renderer beside it" wait_pixels "$work/odd.xwd" 30 "$bx" "$by" 265 40 "255,0,0" 265 60 "255,0,0"
check "closing ends the program" close_bus
check "the settings file beside it is written" test "$(stat -c %Y "$ini")" -gt 1
check "the record kept its fields" test "$(ini_field "$ini" 16)" = 1
check "nothing was printed" test ! -s "$odd.stderr"

# --- A record that fails late (a door speed of 0) after the windows were placed: the fallback
# places their frames again, as on a first start, and the program reads none of its arguments
# (the toolkit's own -platform and -reverse included). At close the fallback values are written,
# with the views and paths read before the failure. (A file that fails at once is a widget test.)
install_copy "$work/late" tarvola
ini="$work/late/tarvola.ini"
printf '%s\r\n' '1500,1200,12000,6000,"","",7,3,"",9000,2000,#FALSE#,#TRUE#,0,4000,1' >"$ini"
start "$work/late" -platform offscreen -reverse
check "arguments meant for the toolkit are not read: both windows are on the display" test -n "$bus" -a -n "$panel"
read -r l r t b < <(frame_extents "$bus")
bus_bottom=$((218 + t + b))
check "after a late failure the bus window's frame stands at the top left corner, the panel's just below" \
  test "$(frame_origin "$bus") $(frame_origin "$panel")" = "0 0 0 $bus_bottom"
read -r cx cy < <(client_origin "$panel")
check "the panel is not mirrored: the front-door switch stands at its left" \
  wait_pixels "$work/late.xwd" 30 "$cx" "$cy" 31 33 "255,255,0"
check "closing ends the program" close_bus
printf '0,0,0,%s,"","",1,1,"",8790,1680,#FALSE#,#TRUE#,10000,6000,0\r\n' $((bus_bottom * 15)) >"$work/expected.ini"
check "the fallback record is written, the panel's top the bus window's outer height" cmp -s "$work/expected.ini" "$ini"
check "nothing was printed" test ! -s "$work/late.stderr"
finish
