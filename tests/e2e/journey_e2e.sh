#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# A new user's first session on a fresh copy of the program, under a real window manager, for
# what the widget tests cannot see: the windows as the window manager stacks them, the sign's
# shape on the screen, the real file dialog, the doors moving, the board dragged by the pointer;
# then a second start that must bring back everything that was arranged.
# The copy lies deep in a folder whose name is not UTF-8 (unpacked from an archive made elsewhere):
# the settings file and the renderer program beside it are found there, not at a decoded, wrong path.
# It is started with arguments meant for the toolkit (-platform, -reverse), which it must not read.
source "$(dirname "$0")/lib.sh"
pictures="$(dirname "$0")/../../assets/pictures"

red="255,0,0" blue="0,0,255" white="255,255,255" black="0,0,0" fill="224,224,224" outline="128,128,128"
yellow="250,200,0" green="0,160,80"

# The film: 50 × 200, its top 10 rows red, the rest green.
convert -size 50x10 xc:red -size 50x190 "xc:rgb(0,160,80)" -append -type TrueColor "BMP3:$work/film.bmp"
# The signboard picture: 120 × 40, yellow on the left half, green on the right.
convert -size 60x40 "xc:rgb(250,200,0)" "xc:rgb(0,160,80)" +append "$work/board.gif"
# What the bus window shows where nothing covers its picture, and the doors as drawn closed.
for p in bus door_front door_leaf; do
  convert "$pictures/$p.bmp" "$work/$p.xwd" || { echo "cannot read $pictures/$p.bmp"; exit 1; }
done

# "x y colour" words for places of the bus window, taken from a picture drawn at dx,dy.
picture_at() {  # picture_at <xwd> <dx> <dy> <x> <y> [<x> <y>...]
  local pic=$1 dx=$2 dy=$3 xs=() ys=() coords=() got=() i
  shift 3
  while (($# >= 2)); do xs+=("$1"); ys+=("$2"); coords+=($(($1 - dx)) $(($2 - dy))); shift 2; done
  mapfile -t got < <(xpx "$pic" "${coords[@]}")
  for i in "${!xs[@]}"; do echo "${xs[i]} ${ys[i]} ${got[i]}"; done
}
bus_at() { picture_at "$work/bus.xwd" 0 0 "$@" | xargs; }

# Door probes. Front door: opening narrows it toward x 24. Middle door: the left leaf folds
# toward x 313, the right one toward x 436.
front_xy=(30 120 50 120 70 120 93 120 50 170)
left_xy=(322 120 350 120 372 120 350 80 330 170)
right_xy=(376 120 400 120 426 120 400 80 420 170)
read -ra front_closed <<<"$(picture_at "$work/door_front.xwd" 24 46 "${front_xy[@]}" | xargs)"
read -ra left_closed <<<"$(picture_at "$work/door_leaf.xwd" 313 51 "${left_xy[@]}" | xargs)"
read -ra right_closed <<<"$(picture_at "$work/door_leaf.xwd" 374 51 "${right_xy[@]}" | xargs)"
read -ra front_open <<<"$(bus_at "${front_xy[@]}")"
read -ra right_open <<<"$(bus_at "${right_xy[@]}")"

start() { start_program "$app/tarvola" "$work/stderr" -platform offscreen -reverse; }

# ================= First start: no settings file.
app="$work/"$'\xff\xfe'"/$(printf 'a%.0s' {1..250})"  # and longer than 256 bytes in all
install_copy "$app" tarvola
ini="$app/tarvola.ini"
start
xdotool windowactivate --sync "$bus" 2>/dev/null; sleep 0.3
read -r px py < <(client_origin "$panel")
check "the panel stays above the activated bus window" stacked_above "$panel" "$bus"
read -r bx by < <(client_origin "$bus")
s="$work/s.xwd"
check "the sign window shows blue in its rounded outline, the board its reset place with bars" \
  wait_pixels "$s" 30 "$bx" "$by" 265 51 "$blue" 240 36 "$black" 265 35 "$black" 586 112 "$white" \
  679 141 "$white" 583 125 "$fill" 581 125 "$outline" 682 125 "$fill" 630 143 "$fill" \
  "${front_closed[@]}" "${left_closed[@]}" "${right_closed[@]}"
check "the panel's text is in the program's font: its ① and ② large and bold" \
  wait_pixels "$s" 30 "$px" "$py" 168 43 "$black" 165 45 "$fill" 169 82 "$black" 166 82 "$fill"

# --- The sign: a double click chooses its film; a click gives it the keys, at roll speed 1.
xdotool mousemove $((bx + 265)) $((by + 51)) click --repeat 2 --delay 60 1
choose_file "a double click on the sign" "$work/film.bmp"
film_top=(265 37 "$red" 265 44 "$red" 265 45 "$green" 265 60 "$green")  # the sign window's rows 2, 9, 10, 25
check "the film shows from its top" wait_pixels "$s" 30 "$bx" "$by" "${film_top[@]}"
sleep 0.4   # the focus click must not pair with the double click
click_at "$bus" 265 51
xdotool key Up Up Up
check "three Up presses lower the film by 3 pixels" \
  wait_pixels "$s" 30 "$bx" "$by" 265 37 "$blue" 265 38 "$red" 265 47 "$red" 265 48 "$green"

# --- The doors: the front one at speed 10000 (about a second a movement), the middle one in
# mode 右 at speed 6000, after its sound.
click_at "$panel" 31 33
check "the front switch opens the door" wait_pixels "$s" 100 "$bx" "$by" "${front_open[@]}"
click_at "$panel" 31 33
check "the front switch again closes it" wait_pixels "$s" 100 "$bx" "$by" "${front_closed[@]}"
click_at "$panel" 113 121
click_at "$panel" 30 78
check "the middle door in mode 右 opens its right leaf only" \
  wait_pixels "$s" 100 "$bx" "$by" "${left_closed[@]}" "${right_open[@]}"
click_at "$panel" 30 78
check "the middle switch again closes it" wait_pixels "$s" 100 "$bx" "$by" "${left_closed[@]}" "${right_closed[@]}"

# --- The signboard: a picture of its own, 120 × 40, at the reset place 586,112.
menu_item 633 127 3
choose_file "the menu item 看板の画像を設定..." "$work/board.gif"
check "the board takes the picture and its size; the bars fit around it" \
  wait_pixels "$s" 30 "$bx" "$by" 586 112 "$yellow" 600 130 "$yellow" 690 130 "$green" 705 151 "$green" \
  583 130 "$fill" 581 130 "$outline" 708 130 "$fill" 710 130 "$outline" 650 153 "$fill" 583 150 "$fill"

# Drag it by (30, 40) in steps, as a hand would; the bars stay behind.
drag_from() {  # drag_from <x> <y> <"dx dy">...: presses at a place of the bus window and moves on, held
  local x=$1 y=$2 dx dy step
  xdotool mousemove $((bx + x)) $((by + y)) mousedown 1
  for step in "${@:3}"; do read -r dx dy <<<"$step"; sleep 0.05; xdotool mousemove $((bx + x + dx)) $((by + y + dy)); done
  sleep 0.05
}
drag_from 646 132 "3 4" "10 13" "20 27" "30 40"
xdotool mouseup 1
read -ra old_bars_gone <<<"$(bus_at 583 130 708 130 600 153)"
read -ra new_bars_gone <<<"$(bus_at 613 170 738 170 680 193)"
board_at_new=(616 152 "$yellow" 630 170 "$yellow" 720 170 "$green" 735 191 "$green")
check "the board follows the pointer to 616,152; the bars stay where they were" wait_pixels "$s" 30 "$bx" "$by" \
  "${board_at_new[@]}" 583 130 "$fill" 708 130 "$fill" 600 153 "$fill"
sleep 0.4   # a double click of its own, not paired with the drag's release
xdotool mousemove $((bx + 680)) $((by + 170)) click --repeat 2 --delay 60 1
check "a double click brings the bars around the board" wait_pixels "$s" 30 "$bx" "$by" \
  613 170 "$fill" 611 170 "$outline" 738 170 "$fill" 740 170 "$outline" 680 193 "$fill" "${old_bars_gone[@]}"
menu_item 700 180 2
check "枠の表示 hides the bars" wait_pixels "$s" 30 "$bx" "$by" "${new_bars_gone[@]}" "${board_at_new[@]}"

sleep 0.4
drag_from 680 170 "10 5" "25 12" "40 20"
check "a second drag moves the board by 40,20" wait_pixels "$s" 30 "$bx" "$by" 658 174 "$yellow" 740 200 "$green"
xdotool key Escape sleep 0.1 mouseup 1
check "Esc during the drag puts it back at 616,152" wait_pixels "$s" 30 "$bx" "$by" "${board_at_new[@]}"

# --- The door-speed bars by the keyboard: a click gives the front one the focus, Tab reaches the
# middle one past its switch; Left, Up and PageUp step down by one, the others up; Home and End.
click_at "$panel" 101 26
xdotool key --delay 30 End Left Up Page_Up Tab Tab Home Right Down Page_Down

# --- Another program active: the panel stays in front of it, a normal window off the task bar
# (window managers may hide a utility window while its program is inactive).
xmessage -geometry 400x500+0+0 "another program" & other_pid=$!
other=$(wait_window xmessage)
xdotool windowactivate --sync "$other" 2>/dev/null; sleep 0.3
check "the panel stays above another program's active window" stacked_above "$panel" "$other"
check "the panel is a normal window, neither on the task bar nor in the pager" test "$(xprop -id "$panel" \
  _NET_WM_WINDOW_TYPE _NET_WM_STATE | grep -oE '_NET_WM_(WINDOW_TYPE_[A-Z]+|STATE_SKIP_[A-Z]+)' | sort | xargs)" = \
  "_NET_WM_STATE_SKIP_PAGER _NET_WM_STATE_SKIP_TASKBAR _NET_WM_WINDOW_TYPE_NORMAL"
kill "$other_pid"

# --- Close, and look at what was stored beside the program.
check "closing the bus window ends the program" close_bus
check "the record holds the film, roll speeds, board picture and place, views, door speeds set by keys, mode 右" \
  test "$(ini_field "$ini" 5-)" = "\"$work/film.bmp\",\"\",1,1,\"$work/board.gif\",9240,2280,#TRUE#,#FALSE#,29997,4,2"
cp "$ini" "$work/first.ini"

# ================= Second start: everything comes back from the file.
start
check "second start: the windows stand where they stood" \
  test "$(client_origin "$bus") $(client_origin "$panel")" = "$bx $by $px $py"
check "the film shows from its top again, the board at 616,152 with its picture, the frame hidden" \
  wait_pixels "$s" 30 "$bx" "$by" "${film_top[@]}" "${board_at_new[@]}" "${new_bars_gone[@]}"
check "closing again ends the program" close_bus
check "the second run writes back the same record" cmp -s "$work/first.ini" "$ini"
check "nothing was printed" test ! -s "$work/stderr"

finish
