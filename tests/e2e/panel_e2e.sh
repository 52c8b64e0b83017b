#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The settings panel on a real desktop (openbox), where a user could lose it or find it in the way.
# Minimised by any of the window manager's ways, it is back at once, at its place, above all
# windows. Every question the program asks (the file dialogs, a message box, the version dialog and
# its error box) stands above it while it is open, and the panel is above all windows again once
# it is answered. F6 takes the keyboard from the bus window to the panel and back.
source "$(dirname "$0")/lib.sh"
white="255,255,255"

install_copy "$work/bus" tarvola
rm -f "$work/bus/libSorrel3Res.so"   # so that the version dialog's link fails with its error box
echo "no picture" >"$work/not-a-picture.bmp"
start_program "$work/bus/tarvola" "$work/stderr"
read -r px py < <(client_origin "$panel")
read -r bx by < <(client_origin "$bus")

on_top() { [[ $(xprop -root _NET_CLIENT_LIST_STACKING | grep -oE '0x[0-9a-f]+' | tail -n1) == $(printf '0x%x' "$1") ]]; }
active_is() { [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]; }
width_of() { xwininfo -id "$1" | awk '/Width:/{print $2}'; }
height_of() { xwininfo -id "$1" | awk '/Height:/{print $2}'; }
above() { [[ -n "$1" ]] && poll_until 20 stacked_above "$1" "$2"; }  # above <window> <window>: soon, if it came

# ================= Never lost.
iconify() {  # iconify <window> <way>
  local ox oy
  case $2 in
    "its title bar's button")  # openbox's iconify button, the third from the right
      read -r ox oy < <(client_origin "$1")
      xdotool mousemove $((ox + $(width_of "$1") - 42)) $((oy - 10)) click 1 ;;
    "xdotool windowminimize") xdotool windowminimize "$1" ;;
    "wmctrl -b add,hidden") wmctrl -i -r "$1" -b add,hidden ;;
  esac
}
back_in_place_on_top() { mapped "$panel" && on_top "$panel" && [[ "$(client_origin "$panel")" == "$px $py" ]]; }
for way in "its title bar's button" "xdotool windowminimize" "wmctrl -b add,hidden"; do
  iconify "$bus" "$way"
  check "the bus window is minimised by $way, and stays so" eval 'poll_until_not 20 mapped "$bus" && sleep 0.5 && ! mapped "$bus"'
  xdotool windowactivate --sync "$bus" 2>/dev/null
  iconify "$panel" "$way"
  sleep 0.5
  check "the panel minimised by $way is back within 0.5 s, at its place, above all windows" back_in_place_on_top
done

# ================= Above the panel while the user must answer.
s="$work/s.xwd"
xdotool mousemove $((bx + 265)) $((by + 51)) click --repeat 2 --delay 60 1
dialog=$(wait_window "Open")
check "a double click on the sign opens the file dialog" test -n "$dialog"
read -r dx dy < <(client_origin "$dialog")
fx=$((dx + 300)) fy=$((dy + $(height_of "$dialog") - 53))   # a point inside the file-name field
check "the file-name field is white where the panel will stand" wait_pixels "$s" 30 0 0 "$fx" "$fy" "$white"
xdotool windowmove "$panel" $((fx - 100)) $((fy - 60))   # its black frame over that point
covers() { local ox oy; read -r ox oy < <(client_origin "$panel")
           ((ox < fx && fx < ox + $(width_of "$panel") && oy < fy && fy < oy + $(height_of "$panel"))); }
check "the panel now stands over the file-name field" poll_until 40 covers
click_at "$panel" 130 130   # on the part of the panel below the dialog: a window manager raises what is clicked
sleep 0.3
check "the file dialog is stacked above the panel, also after a click on the panel" stacked_above "$dialog" "$panel"
check "the file-name field shows there, not the panel" wait_pixels "$s" 10 0 0 "$fx" "$fy" "$white"
xdotool type --delay 5 "$work/not-a-picture.bmp"
xdotool key Return
box=$(wait_window "Tarvola")
check "a file that is no picture: its message box stands above the panel" above "$box" "$panel"
xdotool windowactivate --sync "$box" key Return 2>/dev/null
check "once it is answered, the panel is above all windows again" poll_until 40 on_top "$panel"

menu_item 633 127 3
dialog=$(wait_window "Open")
check "the signboard's file dialog stands above the panel" above "$dialog" "$panel"
xdotool windowactivate --sync "$dialog" key Escape 2>/dev/null
check "cancelled, the panel is above all windows again" poll_until 40 on_top "$panel"

click_at "$panel" 205 122   # バージョン情報
version=$(wait_window "Tarvolaのバージョン情報")
check "the version dialog stands above the panel" above "$version" "$panel"
xmessage -geometry 300x200+0+0 "another program" & other_pid=$!
other=$(wait_window xmessage)
xdotool windowactivate --sync "$other" 2>/dev/null; sleep 0.3
check "the version dialog stays above another program's active window, as the panel does" stacked_above "$version" "$other"
kill "$other_pid"
xdotool windowactivate --sync "$version" key Tab Return 2>/dev/null   # Tab from OK to the link, Enter opens it
error=$(wait_window "Lumhpurl.dllのエラー")
check "Tab and Enter open the link; without the maker's library its error box stands above the dialog and the panel" \
  eval 'above "$error" "$version" && stacked_above "$error" "$panel"'
xdotool windowactivate --sync "$error" key Return 2>/dev/null
check "the error box answered, the version dialog is still open above the panel" \
  eval 'poll_until_not 40 shown "Lumhpurl.dllのエラー" && shown "Tarvolaのバージョン情報" && stacked_above "$version" "$panel"'
xdotool windowactivate --sync "$version" key Tab Return 2>/dev/null   # from the link back to OK
check "Tab back to OK and Enter close the dialog" poll_until_not 100 shown "Tarvolaのバージョン情報"
check "the panel is above all windows again" poll_until 40 on_top "$panel"

motif=($(xprop -id "$panel" _MOTIF_WM_HINTS | sed -n 's/.*= *//p' | tr -d ','))
# Flags: functions and decorations given; functions: move alone; decorations: border and title bar;
# a modeless window; no status.
check "the panel asks to be moved only, with a border and a title bar (Motif hints), also after the dialogs" \
  eval '(( ${#motif[@]} == 5 && motif[0] == 3 && motif[1] == 4 && motif[2] == 10 && motif[3] == 0 && motif[4] == 0 ))'

# ================= F6 between the two windows.
xdotool windowactivate --sync "$bus" 2>/dev/null
xdotool key F6
check "F6 on the bus window gives the keyboard to the panel" poll_until 40 active_is "$panel"
xdotool key F6
check "F6 on the panel gives it back to the bus window" poll_until 40 active_is "$bus"

# The panel stands where the user moved it, over the file dialog's place: the close stores its frame's corner.
read -r ox oy < <(client_origin "$panel")
read -r left _ top _ < <(frame_extents "$panel")
check "closing the bus window ends the program" close_bus
check "the record holds the panel's place as the user left it, in twips" \
  test "$(ini_field "$work/bus/tarvola.ini" 3-4)" = "$(((ox - left) * 15)),$(((oy - top) * 15))"
check "nothing was printed" test ! -s "$work/stderr"
finish
