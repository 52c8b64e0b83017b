#!/usr/bin/env bash
# A new user's first session, start to finish, on a fresh copy of the program: the sign rolled
# and given a film, both doors worked in every mode, a signboard picture chosen, dragged,
# hidden and shown, the version dialog opened; then a second start that must bring back
# everything that was arranged.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/screen.sh"
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
pictures="$(dirname "$0")/../../assets/pictures"

blue="0,0,255" white="255,255,255" fill="224,224,224" outline="128,128,128"
yellow="250,200,0" green="0,160,80"

# The film: 50 × 200 in bands 4 pixels high, band k in rgb(250−5k, 40+4k, 5k).
bands=()
for k in $(seq 0 49); do bands+=("xc:rgb($((250 - 5 * k)),$((40 + 4 * k)),$((5 * k)))"); done
convert -size 50x4 "${bands[@]}" -append -type TrueColor "BMP3:$work/film.bmp"
# The signboard picture: 120 × 40, yellow on the left half, green on the right.
convert -size 60x40 "xc:rgb(250,200,0)" "xc:rgb(0,160,80)" +append "$work/board.gif"
# What the bus window shows where nothing covers its picture, and the doors as drawn closed.
for p in bus door_front door_leaf; do
  convert "$pictures/$p.bmp" "$work/$p.xwd" || { echo "cannot read $pictures/$p.bmp"; exit 1; }
done

# "x y colour" words for places of the bus window, taken from a picture drawn at dx,dy.
picture_at() {  # picture_at <xwd> <dx> <dy> <colour prefix> <x> <y> [<x> <y>...]
  local pic=$1 dx=$2 dy=$3 prefix=$4 xs=() ys=() coords=() got=() i
  shift 4
  while (($# >= 2)); do xs+=("$1"); ys+=("$2"); coords+=($(($1 - dx)) $(($2 - dy))); shift 2; done
  mapfile -t got < <(xpx "$pic" "${coords[@]}")
  for i in "${!xs[@]}"; do echo "${xs[i]} ${ys[i]} $prefix${got[i]}"; done
}
bus_at() { picture_at "$work/bus.xwd" 0 0 "" "$@"; }

# The film at row y of the sign window when the film's top is at pos.
film_at() {  # film_at <y> <pos>
  local r=$(($1 - $2))
  if ((r < 0 || r >= 200)); then echo "$blue"; else
    local k=$((r / 4)); echo "$((250 - 5 * k)),$((40 + 4 * k)),$((5 * k))"; fi
}
# Pixel words for rows of the sign's probe column (x 265, film column 25).
film_rows() {  # film_rows <pos> <y>...
  local pos=$1 y
  shift
  for y in "$@"; do echo "265 $((35 + y)) $(film_at "$y" "$pos")"; done
}

# --- Door probes. Front door: opening narrows it toward x 24; the picture behind shows from
# x 30 on. Middle door: the left leaf folds toward x 313, the right one toward x 436.
read -ra front_closed <<<"$(picture_at "$work/door_front.xwd" 24 46 "" 30 120 50 120 70 120 93 120 50 170 | xargs)"
read -ra front_open <<<"$(bus_at 30 120 50 120 70 120 93 120 50 170 | xargs)"
read -ra front_edge <<<"$(bus_at 25 120 | sed 's/ \([0-9,]*\)$/ !\1/' | xargs)"
left_xy=(322 120 350 120 372 120 350 80 330 170)
right_xy=(376 120 400 120 426 120 400 80 420 170)
read -ra left_closed <<<"$(picture_at "$work/door_leaf.xwd" 313 51 "" "${left_xy[@]}" | xargs)"
read -ra right_closed <<<"$(picture_at "$work/door_leaf.xwd" 374 51 "" "${right_xy[@]}" | xargs)"
read -ra left_open <<<"$(bus_at "${left_xy[@]}" | xargs)"
read -ra right_open <<<"$(bus_at "${right_xy[@]}" | xargs)"
# The folded leaves still stand at their fixed edges.
read -ra leaves_edge <<<"$(bus_at 314 120 435 120 | sed 's/ \([0-9,]*\)$/ !\1/' | xargs)"

start() { start_program "$work/app/tarvola" "$work/stderr"; }

# Chooses a file through the open-file dialog, which the caller has just opened.
choose_file() {  # choose_file <what> <path>
  local dialog
  dialog=$(wait_window "Open")
  check "$1 opens the file dialog" test -n "$dialog"
  [[ -n "$dialog" ]] || return 1
  xdotool windowactivate --sync "$dialog" 2>/dev/null
  xdotool key ctrl+a
  xdotool type --delay 5 "$2"
  xdotool key Return
  check "the dialog closes on Enter" wait_window_gone "Open"
}

# Opens the pop-up menu with a right click at a place of the bus window and picks the n-th
# item with the keyboard.
menu_item() {  # menu_item <x> <y> <n>
  local before menu
  before=$(popups)
  click_at "$bus" "$1" "$2" 3
  menu=$(wait_new_popup "$before") || { echo "  no menu opened"; return 1; }
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 1 "$3")) Return
  wait_unmapped "$menu"
}

# Panel places: switches, the middle-door mode buttons inside Frame2, the version button.
front_switch() { click_at "$panel" 31 33; }
middle_switch() { click_at "$panel" 30 78; }
mode_both() { click_at "$panel" 19 122; }
mode_left() { click_at "$panel" 68 122; }
mode_right() { click_at "$panel" 113 121; }

# ================= First start: no settings file.
install_copy "$work/app" tarvola
ini="$work/app/tarvola.ini"
start
check "first start: both windows appear" test -n "$bus" -a -n "$panel"
read -r bx by < <(client_origin "$bus")
read -r px py < <(client_origin "$panel")
s="$work/s.xwd"

check "the sign shows its blue window, the board its reset place with bars" \
  wait_pixels "$s" 30 "$bx" "$by" 265 51 "$blue" 586 112 "$white" 679 141 "$white" \
  583 125 "$fill" 682 125 "$fill" 630 143 "$fill" \
  "${front_closed[@]}" "${left_closed[@]}" "${right_closed[@]}"

# --- The sign: focus by a click, roll the empty film, then choose a film.
click_at "$bus" 265 51
xdotool key Up Up Down Up
check "rolling without a film leaves the window blue" \
  wait_pixels "$s" 3 "$bx" "$by" 265 37 "$blue" 265 51 "$blue" 265 65 "$blue"
sleep 0.4   # the double click must not pair with the focus click
xdotool mousemove $((bx + 265)) $((by + 51)) click --repeat 2 --delay 60 1
choose_file "a double click on the sign" "$work/film.bmp"
read -ra rows <<<"$(film_rows 0 2 3 4 16 30 | xargs)"
check "the film shows from its top though the sign was rolled before" \
  wait_pixels "$s" 30 "$bx" "$by" "${rows[@]}"

# Roll speed 1 (the first start's value): one pixel a key press.
click_at "$bus" 265 51
xdotool key Up Up Up
read -ra rows <<<"$(film_rows 3 2 3 6 7 16 30 | xargs)"
check "three Up presses lower the film by 3 pixels" wait_pixels "$s" 30 "$bx" "$by" "${rows[@]}"
xdotool key Down
read -ra rows <<<"$(film_rows 2 2 5 6 16 30 | xargs)"
check "one Down press raises it by 1" wait_pixels "$s" 30 "$bx" "$by" "${rows[@]}"

# --- The front door, at the first start's speed 10000 (about a second a movement).
front_switch
check "the front switch opens the door: the bus shows behind it" \
  wait_pixels "$s" 100 "$bx" "$by" "${front_open[@]}"
check "the open front door keeps its left edge" pixels_are "$s" "$bx" "$by" "${front_edge[@]}"
check "the middle door stays shut meanwhile" pixels_are "$s" "$bx" "$by" "${left_closed[@]}" "${right_closed[@]}"
front_switch
check "the front switch again closes it" wait_pixels "$s" 100 "$bx" "$by" "${front_closed[@]}"

# --- The middle door in each mode, at speed 6000, after its sound.
middle_door() {  # middle_door <mode> <pixel words when open...>
  local mode=$1
  shift
  middle_switch
  check "middle door ($mode) opens" wait_pixels "$s" 100 "$bx" "$by" "$@"
  check "middle door ($mode): the leaves keep their outer edges" \
    pixels_are "$s" "$bx" "$by" "${leaves_edge[@]}"
  middle_switch
  check "middle door ($mode) closes" \
    wait_pixels "$s" 100 "$bx" "$by" "${left_closed[@]}" "${right_closed[@]}"
}
middle_door "両方" "${left_open[@]}" "${right_open[@]}" "${front_closed[@]}"
mode_left
middle_door "左" "${left_open[@]}" "${right_closed[@]}"
mode_right
middle_door "右" "${left_closed[@]}" "${right_open[@]}"

# --- The signboard: a picture of its own, 120 × 40, at the reset place 586,112.
menu_item 633 127 3
choose_file "the menu item 看板の画像を設定..." "$work/board.gif"
check "the board takes the picture and its size; the bars fit around it" \
  wait_pixels "$s" 30 "$bx" "$by" 586 112 "$yellow" 600 130 "$yellow" 690 130 "$green" 705 151 "$green" \
  583 130 "$fill" 581 130 "$outline" 708 130 "$fill" 710 130 "$outline" 650 153 "$fill"

# Drag it by (30, 40) in steps, as a hand would; the bars stay behind.
xdotool mousemove $((bx + 646)) $((by + 132)) mousedown 1
for step in "3 4" "10 13" "20 27" "30 40"; do
  read -r dx dy <<<"$step"
  sleep 0.05
  xdotool mousemove $((bx + 646 + dx)) $((by + 132 + dy))
done
sleep 0.05
xdotool mouseup 1
read -ra old_bars_gone <<<"$(bus_at 583 130 708 130 600 153 | xargs)"
read -ra new_bars_gone <<<"$(bus_at 613 170 738 170 680 193 | xargs)"
board_at_new=(616 152 "$yellow" 630 170 "$yellow" 720 170 "$green" 735 191 "$green")
new_bars=(613 170 "$fill" 611 170 "$outline" 738 170 "$fill" 740 170 "$outline" 680 193 "$fill")
check "the board follows the pointer to 616,152" wait_pixels "$s" 30 "$bx" "$by" "${board_at_new[@]}"
check "the bars stay where they were" pixels_are "$s" "$bx" "$by" \
  583 130 "$fill" 708 130 "$fill" 600 153 "$fill"
sleep 0.4   # a double click of its own, not paired with the drag's release
xdotool mousemove $((bx + 680)) $((by + 170)) click --repeat 2 --delay 60 1
check "a double click brings the bars around the board" \
  wait_pixels "$s" 30 "$bx" "$by" "${new_bars[@]}" "${old_bars_gone[@]}" "${board_at_new[@]}"

# Frame and board hidden and shown through the menu (items 2 and 1).
menu_item 700 180 2
check "枠の表示 hides the bars" wait_pixels "$s" 30 "$bx" "$by" "${old_bars_gone[@]}" "${board_at_new[@]}"
menu_item 700 180 2
check "枠の表示 again shows them around the board's new place" \
  wait_pixels "$s" 30 "$bx" "$by" "${new_bars[@]}" "${old_bars_gone[@]}"
menu_item 700 180 1
read -ra board_gone <<<"$(bus_at 630 170 720 170 | xargs)"
check "看板の表示 hides the board, the bars stay" \
  wait_pixels "$s" 30 "$bx" "$by" "${board_gone[@]}" "${new_bars[@]}"
menu_item 150 20 1   # the board is hidden: the menu opens on the bus picture
check "看板の表示 again shows it" wait_pixels "$s" 30 "$bx" "$by" "${board_at_new[@]}" "${new_bars[@]}"
menu_item 700 180 2
check "the frame is left hidden" wait_pixels "$s" 30 "$bx" "$by" "${new_bars_gone[@]}" "${board_at_new[@]}"

# --- The version dialog from the panel.
click_at "$panel" 205 122
dialog=$(wait_window "Tarvolaのバージョン情報")
check "the version button opens the dialog" test -n "$dialog"
[[ -n "$dialog" ]] && xdotool windowactivate --sync "$dialog" key Return
check "Enter closes it" wait_window_gone "Tarvolaのバージョン情報"

# --- Close, and look at what was stored.
check "closing the bus window ends the program" close_bus
check "field 5 holds the film's path" test "$(ini_field "$ini" 5)" = "\"$work/film.bmp\""
check "field 7 holds roll speed 1" test "$(ini_field "$ini" 7)" = 1
check "field 9 holds the signboard picture's path" test "$(ini_field "$ini" 9)" = "\"$work/board.gif\""
check "fields 10, 11 hold the board's place in twips" test "$(ini_field "$ini" 10),$(ini_field "$ini" 11)" = "9240,2280"
check "fields 12, 13: board shown, frame hidden" test "$(ini_field "$ini" 12),$(ini_field "$ini" 13)" = "#TRUE#,#FALSE#"
check "fields 14, 15 hold the door speeds" test "$(ini_field "$ini" 14),$(ini_field "$ini" 15)" = "10000,6000"
check "field 16 holds the last mode, 右" test "$(ini_field "$ini" 16)" = 2
cp "$ini" "$work/first.ini"

# ================= Second start: everything comes back from the file.
start
check "second start: both windows appear" test -n "$bus" -a -n "$panel"
check "the bus window stands where it stood" test "$(client_origin "$bus")" = "$bx $by"
check "the panel stands where it stood" test "$(client_origin "$panel")" = "$px $py"
read -ra rows <<<"$(film_rows 0 2 3 4 16 30 | xargs)"
check "the film shows from its top again" wait_pixels "$s" 30 "$bx" "$by" "${rows[@]}"
check "the board stands at 616,152 with its picture, the frame hidden" pixels_are "$s" "$bx" "$by" \
  "${board_at_new[@]}" "${new_bars_gone[@]}" "${old_bars_gone[@]}"
check "both doors are shut" pixels_are "$s" "$bx" "$by" "${front_closed[@]}" "${left_closed[@]}" "${right_closed[@]}"

# The restored mode 右 moves the right leaf only.
middle_switch
check "the restored mode opens the right leaf only" wait_pixels "$s" 100 "$bx" "$by" "${left_closed[@]}" "${right_open[@]}"
check "closing again ends the program" close_bus
check "the second run writes back the same record" cmp -s "$work/first.ini" "$ini"
check "nothing was printed" test ! -s "$work/stderr"
finish
