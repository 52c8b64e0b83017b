#!/usr/bin/env bash
# The settings file as the program meets it: a prepared record restored and written back
# unchanged (also in a folder whose name is not UTF-8), a damaged file replaced by the
# fallback record, and a folder it cannot write.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/screen.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fill="224,224,224" white="255,255,255"

start() { start_program "$1/tarvola" "$1.stderr"; }  # start <folder>

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
check "the bus window stands at 1500,1200 twips (x)" near "$fx" 100 2
check "the bus window stands at 1500,1200 twips (y)" near "$fy" 80 2
read -r px py < <(frame_origin "$panel")
check "the panel stands at 12000,6000 twips (x)" near "$px" 800 2
check "the panel stands at 12000,6000 twips (y)" near "$py" 400 2

# The board is hidden but its frame is shown, fitted to the board's place 600,133.
read -r bx by < <(client_origin "$bus")
wait_pixel $((bx + 597)) $((by + 145)) "$fill" >/dev/null
shot "$work/prepared.xwd"
check "the hidden board leaves its bars standing at its restored place" pixels_are "$work/prepared.xwd" "$bx" "$by" \
  597 145 "$fill" 696 145 "$fill" 640 165 "$fill" 647 148 "!$white" 620 140 "!$white"

check "closing ends the program" close_bus
fields=$(head -n1 "$ini" | tr -d '\r' | awk -F, '{print NF}')
check "the written record has 16 fields" test "$fields" = 16
read -r f1 f2 f3 f4 < <(for n in 1 2 3 4; do ini_field "$ini" $n; done | xargs)
check "window places are written back near where they were (bus)" near "$f1" 1500 150
check "window places are written back near where they were (bus top)" near "$f2" 1200 150
check "window places are written back near where they were (panel)" near "$f3" 12000 150
check "window places are written back near where they were (panel top)" near "$f4" 6000 150
printf '%s\r\n' "$f1,$f2,$f3,$f4,$record_tail" >"$work/expected.ini"
check "every other field comes back byte for byte, one CR LF-ended line" cmp -s "$work/expected.ini" "$ini"
check "nothing was printed" test ! -s "$work/prepared.stderr"

# --- A folder whose name is not UTF-8 (unpacked from an archive made elsewhere): the file
# beside the program is read and written, not one at a decoded, wrong path.
odd="$work/"$'\xff\xfe'
install_copy "$odd" tarvola
ini="$odd/tarvola.ini"
write_ini "$ini" "1500,1200,12000,6000,$record_tail"
touch -d @1 "$ini"
start "$odd"
check "the program starts in a folder whose name is not UTF-8" test -n "$bus" -a -n "$panel"
read -r fx fy < <(frame_origin "$bus")
check "the settings file beside it is read (x)" near "$fx" 100 2
check "the settings file beside it is read (y)" near "$fy" 80 2
check "closing ends the program" close_bus
check "the settings file beside it is written" test "$(stat -c %Y "$ini")" -gt 1
check "the record kept its fields" test "$(ini_field "$ini" 16)" = 1
check "nothing was printed" test ! -s "$odd.stderr"

# --- A damaged file: the fallback values, and the fallback record written at close.
install_copy "$work/damaged" tarvola
ini="$work/damaged/tarvola.ini"
printf 'garbage\x01\xff,"unterminated\n,,,#MAYBE#\r\n' >"$ini"
start "$work/damaged"
check "the program starts with a damaged file" test -n "$bus" -a -n "$panel"
read -r fx fy < <(frame_origin "$bus")
check "the bus window stands at the top left corner" test "$fx $fy" = "0 0"
read -r l r t b < <(frame_extents "$bus")
bus_bottom=$((218 + t + b))
read -r px py < <(frame_origin "$panel")
check "the panel stands at the left edge, just below the bus window" test "$px $py" = "0 $bus_bottom"
read -r bx by < <(client_origin "$bus")
wait_pixel $((bx + 583)) $((by + 125)) "$fill" >/dev/null
shot "$work/damaged.xwd"
check "the board is reset with its bars around it" pixels_are "$work/damaged.xwd" "$bx" "$by" \
  586 112 "$white" 679 141 "$white" 583 125 "$fill" 682 125 "$fill" 630 143 "$fill"
check "closing ends the program" close_bus
read -r f1 f2 f3 f4 < <(for n in 1 2 3 4; do ini_field "$ini" $n; done | xargs)
check "the panel's top is stored as the bus window's height" near "$f4" $((bus_bottom * 15)) 15
printf '0,0,0,%s,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,10000,6000,0\r\n' "$f4" >"$work/expected.ini"
check "the fallback record is written" cmp -s "$work/expected.ini" "$ini"
check "nothing was printed" test ! -s "$work/damaged.stderr"

# --- A record that fails late (a door speed of 0) after the windows were placed: the fallback
# places their frames again, as on a first start, and the program reads none of its arguments
# (the toolkit's own -platform and -reverse included).
install_copy "$work/late" tarvola
ini="$work/late/tarvola.ini"
write_ini "$ini" "1500,1200,12000,6000,$(echo "$record_tail" | sed 's/3000,4000,1$/0,4000,1/')"
"$work/late/tarvola" -platform offscreen -reverse 2>"$work/late.stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
panel=$(wait_window "設定パネル")
check "arguments meant for the toolkit are not read: both windows are on the display" test -n "$bus" -a -n "$panel"
read -r fx fy < <(frame_origin "$bus")
check "after a late failure the bus window's frame stands at the top left corner" test "$fx $fy" = "0 0"
read -r px py < <(frame_origin "$panel")
check "after a late failure the panel's frame stands just below the bus window" test "$px $py" = "0 $bus_bottom"
read -r cx cy < <(client_origin "$panel")
wait_pixel $((cx + 31)) $((cy + 33)) "255,255,0" >/dev/null
check "the panel is not mirrored: the front-door switch stands at its left" wait_pixel $((cx + 31)) $((cy + 33)) "255,255,0" 1
check "closing ends the program" close_bus
check "the record starts 0,0,0,<the bus window's outer height>" \
  test "$(head -n1 "$ini" | cut -d, -f1-4)" = "0,0,0,$((bus_bottom * 15))"

# --- A folder the program cannot write: it still ends, and says which file it could not save.
install_copy "$work/readonly" tarvola
ini="$work/readonly/tarvola.ini"
write_ini "$ini" "0,0,0,3660,\"\",\"\",4,1,\"\",8790,1680,#TRUE#,#TRUE#,200,300,2"
cp "$ini" "$work/readonly.before"
listing_before=$(ls -A "$work/readonly" | xargs)
chmod 755 "$work"
chmod 555 "$work/readonly"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  # The superuser writes anywhere: run the program as nobody, with a home and runtime folder
  # of its own so that nothing else has reason to complain on stderr.
  mkdir -p "$work/nobody/runtime"
  chmod 700 "$work/nobody/runtime"
  chown -R nobody "$work/nobody"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work/nobody"
           XDG_RUNTIME_DIR="$work/nobody/runtime")
fi
"${as_user[@]}" "$work/readonly/tarvola" 2>"$work/readonly.stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
check "the program starts in a folder it cannot write" test -n "$bus"
check "closing ends the program" close_bus
check "one line is printed" test "$(wc -l <"$work/readonly.stderr")" = 1
check "it names the settings file" grep -qF "$ini" "$work/readonly.stderr"
check "the old settings file is left as it was" cmp -s "$work/readonly.before" "$ini"
check "no stray file is left in the folder" test "$(ls -A "$work/readonly" | xargs)" = "$listing_before"
chmod 755 "$work/readonly"
finish
