#!/usr/bin/env bash
# The destination sign as a user works it: rolling the film with the arrow keys at the roll
# speed restored from the settings file, and choosing a new film through the file dialog.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/screen.sh"
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
pid=

# Film 1: 50 × 250 in bands 5 pixels high, band k in rgb(5k, 250−5k, 60).
# Film 2: 40 × 100 in bands 10 pixels high, band k in rgb(200, 20k, 240−20k).
bands=()
for k in $(seq 0 49); do bands+=("xc:rgb($((5 * k)),$((250 - 5 * k)),60)"); done
convert -size 50x5 "${bands[@]}" -append -type TrueColor "BMP3:$work/film1.bmp"
bands=()
for k in $(seq 0 9); do bands+=("xc:rgb(200,$((20 * k)),$((240 - 20 * k)))"); done
convert -size 40x10 "${bands[@]}" -append "$work/film2.gif"

blue="0,0,255"
# What film 1 shows at row y of the sign window when the film's top is at pos.
film1_at() {  # film1_at <y> <pos>
  local r=$(($1 - $2))
  if ((r < 0 || r >= 250)); then echo "$blue"; else
    local k=$((r / 5)); echo "$((5 * k)),$((250 - 5 * k)),60"; fi
}
film2_at() {
  local r=$(($1 - $2))
  if ((r < 0 || r >= 100)); then echo "$blue"; else
    local k=$((r / 10)); echo "200,$((20 * k)),$((240 - 20 * k))"; fi
}

install_copy "$work/app" tarvola
# Roll speed ① is 5; the signboard is shown, so the sign does not have the focus at start.
write_ini "$work/app/tarvola.ini" \
  "0,0,0,3660,\"$work/film1.bmp\",\"\",5,1,\"\",8790,1680,#TRUE#,#TRUE#,10000,6000,0"
"$work/app/tarvola" 2>"$work/stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
check "the bus window appears" test -n "$bus"
read -r bx by < <(client_origin "$bus")
sx=$((bx + 239)); sy=$((by + 35))   # sign window 0 on the screen
probe=$((sx + 26))                  # a column of the sign inside the film (film column 25)

# Checks several rows of the sign in one screenshot: expect_rows <what> <film fn> <pos> <y>...
expect_rows() {
  local what=$1 fn=$2 pos=$3 i ok=0 want coords=() got=()
  shift 3
  shot "$work/shot.xwd"
  for i in "$@"; do coords+=("$probe" $((sy + i))); done
  mapfile -t got < <(xpx "$work/shot.xwd" "${coords[@]}")
  for i in $(seq 1 $#); do
    want=$($fn "${!i}" "$pos")
    [[ "${got[i - 1]:-}" == "$want" ]] || { echo "  row ${!i}: got ${got[i - 1]:-nothing}, want $want"; ok=1; }
  done
  check "$what" test $ok -eq 0
}

wait_pixel "$probe" $((sy + 16)) "$(film1_at 16 0)" >/dev/null
expect_rows "the film from the settings file shows from its top" film1_at 0 2 9 10 14 15 16 30

# Keys go to the control with the focus: the signboard has it, so Up does nothing yet.
xdotool windowactivate --sync "$bus" key Up
sleep 0.3
expect_rows "Up before the sign is clicked leaves the film alone" film1_at 0 2 16 30

xdotool mousemove "$probe" $((sy + 16)) click 1
xdotool key Up Up Up
wait_pixel "$probe" $((sy + 14)) "$blue" >/dev/null
expect_rows "three Up presses at speed 5 lower the film by 15 pixels" film1_at 15 2 14 15 16 30

xdotool key Down
wait_pixel "$probe" $((sy + 10)) "$(film1_at 10 10)" >/dev/null
expect_rows "one Down press raises it by 5" film1_at 10 2 9 10 16 30

xdotool key Left Right Prior Next Home a
sleep 0.3
expect_rows "other keys do not roll the film" film1_at 10 2 9 10 16 30

xdotool key shift+Up
wait_pixel "$probe" $((sy + 14)) "$blue" >/dev/null
expect_rows "Shift+Up rolls as Up does" film1_at 15 14 15 30
xdotool key Down Down Down
wait_pixel "$probe" $((sy + 2)) "$(film1_at 2 0)" >/dev/null
expect_rows "Down presses bring the film back exactly to its start" film1_at 0 2 9 10 14 15 16 30

# Roll it away from the top, then choose another film: it shows from its top.
xdotool key Up Up
wait_pixel "$probe" $((sy + 9)) "$blue" >/dev/null
sleep 0.3   # the next click must not count as the second half of the focus click
xdotool mousemove "$probe" $((sy + 16)) click --repeat 2 --delay 60 1
dialog=$(wait_window "Open")
check "a double click on the sign opens the file dialog" test -n "$dialog"
xdotool windowactivate --sync "$dialog" 2>/dev/null
xdotool type --delay 5 "$work/film2.gif"
xdotool key Return
check "the dialog closes on Enter" wait_window_gone "Open"
wait_pixel "$probe" $((sy + 2)) "$(film2_at 2 0)" >/dev/null
expect_rows "the new film shows from its top" film2_at 0 2 9 10 16 30
check "the new film keeps its own width (40): blue beside it" \
  test "$(xpx "$work/shot.xwd" $((sx + 45)) $((sy + 16)))" = "$blue"
check "the new film starts one pixel in from the left" \
  test "$(xpx "$work/shot.xwd" $((sx + 40)) $((sy + 16)))" = "$(film2_at 16 0)"

xdotool key Up
wait_pixel "$probe" $((sy + 4)) "$blue" >/dev/null
expect_rows "the next Up rolls the new film from its top" film2_at 5 4 5 16

xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
check "closing the bus window ends the program" wait_exit "$pid" 5
ini="$work/app/tarvola.ini"
check "field 5 holds the chosen film's path" test "$(ini_field "$ini" 5)" = "\"$work/film2.gif\""
check "field 6 stays empty" test "$(ini_field "$ini" 6)" = '""'
check "field 7 keeps roll speed 5" test "$(ini_field "$ini" 7)" = "5"
check "nothing was printed" test ! -s "$work/stderr"
finish
