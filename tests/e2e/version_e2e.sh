#!/usr/bin/env bash
# The version dialog opened from the panel: it is modal (the bus window takes no input while
# it is open), Enter closes it, and afterwards the panel and the bus window work again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/screen.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
title="Tarvolaのバージョン情報"

install_copy "$work/app" tarvola
# Front-door speed 1, so that the door moves quickly when the panel is tried afterwards.
write_ini "$work/app/tarvola.ini" '0,0,0,3660,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,1,6000,0'
"$work/app/tarvola" 2>"$work/stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
panel=$(wait_window "設定パネル")
check "both windows appear" test -n "$bus" -a -n "$panel"
read -r bx by < <(client_origin "$bus")

# Without the dialog a right click on the bus picture opens the pop-up menu.
before=$(popups)
xdotool mousemove $((bx + 150)) $((by + 20)) click 3
menu=$(wait_new_popup "$before")
check "a right click on the bus opens the menu while no dialog is open" test -n "$menu"
xdotool key Escape
[[ -n "$menu" ]] && wait_unmapped "$menu"

active_is() {  # active_is <window>: waits until it is the active window
  for _ in $(seq 1 40); do
    [[ "$(xdotool getactivewindow 2>/dev/null)" == "$(($1))" ]] && return 0
    sleep 0.05
  done
  return 1
}

open_dialog() {  # open_dialog <which time>: clicks the version button; sets dialog
  click_at "$panel" 203 117
  dialog=$(wait_window "$title")
  check "the version button opens the dialog ($1)" test -n "$dialog"
}

# Enter right after the dialog opens closes it: OK has the focus.
open_dialog "first time"
check "the dialog takes the keyboard" active_is "$dialog"
xdotool key Return
check "Enter closes the dialog" wait_window_gone "$title"

# The panel still works: the dialog opens again, and the bus window ignores the mouse meanwhile.
open_dialog "second time"
xdotool mousemove $((bx + 150)) $((by + 20)) click 3
sleep 0.3
check "the bus window shows no menu while the dialog is open" test -z "$(wait_new_popup "$before" 1)"
dialog=$(wait_window "$title")
check "the dialog is still open after the click on the bus" test -n "$dialog"
if [[ -n "$dialog" ]]; then
  xdotool windowactivate --sync "$dialog" 2>/dev/null
  xdotool key Return
fi
check "Enter closes it again" wait_window_gone "$title"

# The panel works again: the front-door switch opens the door, which narrows toward its left
# edge (x 24) to about 5 pixels, so the bus picture behind it shows from x 30 on.
bus_picture="$work/bus.xwd"
convert "$(dirname "$0")/../../assets/pictures/bus.bmp" "$bus_picture"
behind=()
for x in 35 50 70 90; do behind+=("$x" 120 "$(xpx "$bus_picture" "$x" 120)"); done
shot "$work/closed.xwd"
negated=()
for ((i = 0; i < ${#behind[@]}; i += 3)); do negated+=("${behind[i]}" 120 "!${behind[i + 2]}"); done
check "the closed door covers the bus picture" pixels_are "$work/closed.xwd" "$bx" "$by" "${negated[@]}"
click_at "$panel" 31 33
for _ in $(seq 1 100); do
  shot "$work/door.xwd"
  pixels_are "$work/door.xwd" "$bx" "$by" "${behind[@]}" >/dev/null && break
  sleep 0.1
done
check "the front-door switch opens the door after the dialog was closed" \
  pixels_are "$work/door.xwd" "$bx" "$by" "${behind[@]}"
check "the open door still stands at its left edge" pixels_are "$work/door.xwd" "$bx" "$by" \
  25 120 "!$(xpx "$bus_picture" 25 120)"

before=$(popups)
xdotool mousemove $((bx + 150)) $((by + 20)) click 3
menu=$(wait_new_popup "$before")
check "the bus window takes input again: a right click opens the menu" test -n "$menu"
xdotool key Escape
[[ -n "$menu" ]] && wait_unmapped "$menu"

xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
check "closing the bus window ends the program" wait_exit "$pid" 5
check "the settings are written after the dialog was used" test "$(ini_field "$work/app/tarvola.ini" 14)" = "1"
check "nothing was printed" test ! -s "$work/stderr"
finish
