#!/usr/bin/env bash
# The signboard as a user handles it: dragging it with the left button (the frame stays
# behind), double-clicking it (the frame follows), the pop-up menu on the right button, and
# the new place kept in the settings file.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/screen.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

white="255,255,255" fill="224,224,224" outline="128,128,128"
install_copy "$work/app" tarvola
# No settings file: the board starts at its reset place, 586,112 and 94 × 30 pixels.
"$work/app/tarvola" 2>"$work/stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
check "the bus window appears" test -n "$bus"
read -r bx by < <(client_origin "$bus")

wait_pixel $((bx + 583)) $((by + 125)) "$fill" >/dev/null
shot "$work/before.xwd"
check "the board and its bars stand at the reset place" pixels_are "$work/before.xwd" "$bx" "$by" \
  633 127 "$white" 586 112 "$white" 679 141 "$white" \
  583 125 "$fill" 581 125 "$outline" 682 125 "$fill" 684 125 "$outline" 630 143 "$fill" \
  700 150 "!$white" 730 155 "!$white"

# Drag by (60, 20) in steps, as a hand would.
xdotool mousemove $((bx + 633)) $((by + 127)) mousedown 1
for step in "5 2" "15 5" "30 10" "45 15" "60 20"; do
  read -r dx dy <<<"$step"
  sleep 0.05
  xdotool mousemove $((bx + 633 + dx)) $((by + 127 + dy))
done
sleep 0.05
xdotool mouseup 1
wait_pixel $((bx + 730)) $((by + 155)) "$white" >/dev/null
shot "$work/dragged.xwd"
check "the board follows the pointer to 646,132" pixels_are "$work/dragged.xwd" "$bx" "$by" \
  646 132 "$white" 739 161 "$white" 700 150 "$white" 645 140 "!$white" 740 150 "!$white" \
  620 120 "!$white" 650 128 "!$white"
check "the bars stay where they were" pixels_are "$work/dragged.xwd" "$bx" "$by" \
  583 125 "$fill" 581 125 "$outline" 682 125 "$fill" 684 125 "$outline" 630 143 "$fill"

xdotool mousemove $((bx + 700)) $((by + 150)) click --repeat 2 --delay 60 1
wait_pixel $((bx + 643)) $((by + 145)) "$fill" >/dev/null
shot "$work/fitted.xwd"
check "a double click brings the bars around the board's new place" pixels_are "$work/fitted.xwd" "$bx" "$by" \
  643 145 "$fill" 641 145 "$outline" 742 145 "$fill" 744 145 "$outline" 700 163 "$fill" \
  641 133 "$outline" 641 161 "$outline"
check "the bars have left the old place" pixels_are "$work/fitted.xwd" "$bx" "$by" \
  583 125 "!$fill" 682 125 "!$fill" 630 143 "!$fill" 583 125 "!$outline"
check "the double click did not move the board" pixels_are "$work/fitted.xwd" "$bx" "$by" \
  646 132 "$white" 739 161 "$white" 645 140 "!$white" 740 150 "!$white"

before=$(popups)
xdotool mousemove $((bx + 690)) $((by + 140)) click 2
sleep 0.3
check "a middle click on the board opens no menu" test -z "$(wait_new_popup "$before" 1)"
xdotool click 3
menu=$(wait_new_popup "$before")
check "a right click on the board opens the pop-up menu" test -n "$menu"
if [[ -n "$menu" ]]; then
  read -r mx my < <(client_origin "$menu")
  check "the menu opens at the pointer (x)" near "$mx" $((bx + 690)) 3
  check "the menu opens at the pointer (y)" near "$my" $((by + 140)) 3
  xdotool key Escape
  check "Escape closes the menu" wait_unmapped "$menu"
fi
shot "$work/after-menu.xwd"
check "the right click did not move the board" pixels_are "$work/after-menu.xwd" "$bx" "$by" \
  646 132 "$white" 739 161 "$white" 645 140 "!$white" 643 145 "$fill"

xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
check "closing the bus window ends the program" wait_exit "$pid" 5
ini="$work/app/tarvola.ini"
check "field 10 holds the board's new left in twips" test "$(ini_field "$ini" 10)" = "9690"
check "field 11 holds the board's new top in twips" test "$(ini_field "$ini" 11)" = "1980"
check "board and frame are stored as shown" test "$(ini_field "$ini" 12),$(ini_field "$ini" 13)" = "#TRUE#,#TRUE#"
check "nothing was printed" test ! -s "$work/stderr"
finish
