#!/usr/bin/env bash
# The settings file as the program meets it under a window manager: a prepared record restored
# and written back unchanged, a damaged file replaced by the fallback, and one that fails late.
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fill="224,224,224" white="255,255,255"

start() { start_program "$1/tarvola" "$1.stderr" "${@:2}"; }  # start <folder> [arguments...]
write_ini() { printf '%s\r\n' "$2" >"$1"; }  # write_ini <file> <record without line end>
# Whether a field is a whole number within tolerance of a value.
near() { [[ "$1" =~ ^-?[0-9]+$ ]] && (($1 >= $2 - $3 && $1 <= $2 + $3)); }  # near <value> <expected> <tolerance>

# Top-left corner of a window's frame on the screen: "x y".
frame_origin() {
  local x y l r t b
  read -r x y < <(client_origin "$1")
  read -r l r t b < <(frame_extents "$1")
  echo $((x - l)) $((y - t))
}

# --- A prepared record comes back as it went in.
install_copy "$work/prepared" tarvola
ini="$work/prepared/tarvola.ini"
record_tail='"","",7,3,"",9000,2000,#FALSE#,#TRUE#,3000,4000,1'
write_ini "$ini" "1500,1200,12000,6000,$record_tail"
start "$work/prepared"
check "the program starts with a prepared file" test -n "$bus" -a -n "$panel"
read -r fx fy < <(frame_origin "$bus")
read -r px py < <(frame_origin "$panel")
check "the windows' frames stand at 1500,1200 and 12000,6000 twips" \
  eval 'near "$fx" 100 2 && near "$fy" 80 2 && near "$px" 800 2 && near "$py" 400 2'

# The board is hidden but its frame is shown, fitted to the board's place 600,133.
read -r bx by < <(client_origin "$bus")
check "the hidden board leaves its bars standing at its restored place" wait_pixels "$work/prepared.xwd" 30 "$bx" "$by" \
  597 145 "$fill" 696 145 "$fill" 640 165 "$fill" 647 148 "!$white" 620 140 "!$white"
check "closing ends the program" close_bus
read -r f1 f2 f3 f4 < <(ini_field "$ini" 1-4 | tr , ' ')
check "window places are written back near where they were" \
  eval 'near "$f1" 1500 150 && near "$f2" 1200 150 && near "$f3" 12000 150 && near "$f4" 6000 150'
printf '%s\r\n' "$f1,$f2,$f3,$f4,$record_tail" >"$work/expected.ini"
check "every other field comes back byte for byte, one CR LF-ended line" cmp -s "$work/expected.ini" "$ini"
check "nothing was printed" test ! -s "$work/prepared.stderr"

# --- A damaged file: the fallback values, and the fallback record written at close.
install_copy "$work/damaged" tarvola
ini="$work/damaged/tarvola.ini"
printf 'garbage\x01\xff,"unterminated\n,,,#MAYBE#\r\n' >"$ini"
start "$work/damaged"
check "the program starts with a damaged file" test -n "$bus" -a -n "$panel"
read -r l r t b < <(frame_extents "$bus")
bus_bottom=$((218 + t + b))
check "the bus window's frame stands at the top left corner, the panel's at the left edge just below it" \
  test "$(frame_origin "$bus") $(frame_origin "$panel")" = "0 0 0 $bus_bottom"
read -r bx by < <(client_origin "$bus")
check "the board is reset with its bars around it" wait_pixels "$work/damaged.xwd" 30 "$bx" "$by" \
  586 112 "$white" 679 141 "$white" 583 125 "$fill" 682 125 "$fill" 630 143 "$fill"
check "closing ends the program" close_bus
printf '0,0,0,%s,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,10000,6000,0\r\n' $((bus_bottom * 15)) >"$work/expected.ini"
check "the fallback record is written, the panel's top the bus window's outer height" cmp -s "$work/expected.ini" "$ini"
check "nothing was printed" test ! -s "$work/damaged.stderr"

# --- A record that fails late (a door speed of 0) after the windows were placed: the fallback
# places their frames again, as on a first start, and the program reads none of its arguments
# (the toolkit's own -platform and -reverse included).
install_copy "$work/late" tarvola
ini="$work/late/tarvola.ini"
write_ini "$ini" "1500,1200,12000,6000,${record_tail/%3000,4000,1/0,4000,1}"
start "$work/late" -platform offscreen -reverse
check "arguments meant for the toolkit are not read: both windows are on the display" test -n "$bus" -a -n "$panel"
check "after a late failure the bus window's frame stands at the top left corner, the panel's just below" \
  test "$(frame_origin "$bus") $(frame_origin "$panel")" = "0 0 0 $bus_bottom"
read -r cx cy < <(client_origin "$panel")
check "the panel is not mirrored: the front-door switch stands at its left" \
  wait_pixels "$work/late.xwd" 30 "$cx" "$cy" 31 33 "255,255,0"
check "closing ends the program" close_bus
check "the record starts 0,0,0,<the bus window's outer height>" test "$(ini_field "$ini" 1-4)" = "0,0,0,$((bus_bottom * 15))"
finish
