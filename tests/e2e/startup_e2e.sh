#!/usr/bin/env bash
# Starts the real program on a private X server and looks at it as a user would.
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

install_copy "$work/app" tarvola
"$work/app/tarvola" 2>"$work/stderr" &
pid=$!
bus=$(wait_window "Tarvola　-　tarvola")
panel=$(wait_window "設定パネル")
check "the bus window appears with its caption" test -n "$bus"
check "the settings panel appears" test -n "$panel"

xdotool windowactivate --sync "$bus" 2>/dev/null; sleep 0.3
check "the panel stays above the activated bus window" stacked_above "$panel" "$bus"

read -r bx by < <(client_origin "$bus")
import -window root "$work/shot.png"
check "sign window is blue inside" test "$(pixel "$work/shot.png" $((bx + 265)) $((by + 51)))" = "0,0,255"
check "sign window's cut corner shows the black panel" test "$(pixel "$work/shot.png" $((bx + 240)) $((by + 36)))" = "0,0,0"
check "sign window's top row is cut" test "$(pixel "$work/shot.png" $((bx + 265)) $((by + 35)))" = "0,0,0"
check "signboard is white" test "$(pixel "$work/shot.png" $((bx + 637)) $((by + 123)))" = "255,255,255"
# After the first start the signboard is reset to its place at 8790, 1680: the left bar at x 581..585.
check "frame bar is light grey inside" test "$(pixel "$work/shot.png" $((bx + 583)) $((by + 125)))" = "224,224,224"
check "frame bar has a grey outline" test "$(pixel "$work/shot.png" $((bx + 581)) $((by + 125)))" = "128,128,128"

# Closing the bus window through the window manager ends the program and writes the settings.
xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
check "closing the bus window ends the program" wait_exit "$pid" 5
check "the settings file is written beside the program" test -s "$work/app/tarvola.ini"
check "nothing was printed" test ! -s "$work/stderr"

# A renamed copy shows its own name, and uses its own settings file.
install_copy "$work/renamed" runbus
"$work/renamed/runbus" &
pid=$!
bus=$(wait_window "Tarvola　-　runbus")
check "a copy named runbus shows its name in the caption" test -n "$bus"
xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
check "the renamed copy ends on close" wait_exit "$pid" 5
check "the renamed copy writes runbus.ini" test -s "$work/renamed/runbus.ini"
kill "$pid" 2>/dev/null
finish
