#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Makes the pictures of README.md from the real program on a private X server:
#   docs/tarvola.png       the bus window and its settings panel
#   docs/middle-door.gif   the middle door folding open
#
#   scripts/readme-pictures.sh [build folder]      (default: build)
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "readme-pictures.sh: no build folder '${1:-build}'" >&2; exit 2; }

if [[ -z "${PICTURES_INSIDE_X:-}" ]]; then
  for tool in Xvfb openbox xdotool xwininfo import convert; do
    command -v "$tool" >/dev/null || { echo "readme-pictures.sh: $tool is missing (run 'make deps-test')" >&2; exit 2; }
  done
  [[ -x "$build/bin/tarvola" ]] || { echo "readme-pictures.sh: $build/bin/tarvola is not built" >&2; exit 2; }
  PICTURES_INSIDE_X=1 QT_QPA_PLATFORM=xcb QT_LOGGING_RULES='qt.qpa.*=false' \
    exec "$here/testing/with-x.sh" "$0" "$build"
fi

TARVOLA_BIN="$build/bin"
source "$here/testing/xsession.sh"
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
docs="$here/docs"
mkdir -p "$docs"

fail() { echo "readme-pictures.sh: $*" >&2; exit 1; }

install_copy "$work/app" tarvola
start_with() {  # start_with <settings record>: starts the program, sets bus and panel
  printf '%s\r\n' "$1" >"$work/app/tarvola.ini"
  "$work/app/tarvola" 2>"$work/stderr" &
  pid=$!
  bus=$(wait_window "Tarvola　-　tarvola") || fail "the bus window did not appear"
  panel=$(wait_window "設定パネル") || fail "the settings panel did not appear"
  xdotool mousemove 0 1000   # no pointer over the pictures
  sleep 1
}
close_program() {
  xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
  wait_exit "$pid" 5 || fail "the program did not end"
  pid=
}

# The bus at 20, 20 and the panel just right of it, a little lower, with the
# speeds a first start has.
start_with '300,300,11850,600,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,6000,10000,0'

# The two windows with their frames, on a transparent canvas of their union.
frame_of() {  # frame_of <client window> → "x y w h" of the window manager's frame
  local f
  f=$(xwininfo -id "$1" -children | awk '/Parent window id:/{print $4}')
  # The client's parent is openbox's frame; its own parent is the root.
  xwininfo -id "$f" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                          /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
read -r bx by bw bh < <(frame_of "$bus")
read -r px py pw ph < <(frame_of "$panel")
import -window root "$work/root.png"
left=$((bx < px ? bx : px)); top=$((by < py ? by : py))
right=$((bx + bw > px + pw ? bx + bw : px + pw)); bottom=$((by + bh > py + ph ? by + bh : py + ph))
convert -size "$((right - left))x$((bottom - top))" xc:none \
  \( "$work/root.png" -crop "${bw}x${bh}+${bx}+${by}" +repage \) -geometry "+$((bx - left))+$((by - top))" -composite \
  \( "$work/root.png" -crop "${pw}x${ph}+${px}+${py}" +repage \) -geometry "+$((px - left))+$((py - top))" -composite \
  -strip "$docs/tarvola.png" || fail "could not write docs/tarvola.png"
close_program

# Again with the middle door at its slowest, so that the frames can follow it.
start_with '300,300,11850,600,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,6000,30000,0'

# The middle door: its two leaves fill x 313..436, y 51..196 of the bus's
# client area. The switch 中扉 sits in the panel's frame at 4, 56 pixels, the
# frame at 2, 5 in the panel: the middle of the switch is near 30, 78.
read -r cx cy < <(client_origin "$bus")
read -r qx qy < <(client_origin "$panel")
door="150x160+$((cx + 300))+$((cy + 44))"
grab() { import -window root -crop "$door" +repage "$1"; }
grab "$work/f-0000.png"
xdotool mousemove $((qx + 30)) $((qy + 78)) click 1
xdotool mousemove 0 1000
# Frames as fast as they come until the picture has stood still for a while
# after moving; then fifteen of them, evenly spread, make the animation.
n=1 still=0 moved=0
while ((n < 600)); do
  f=$(printf '%s/f-%04d.png' "$work" "$n")
  grab "$f"
  prev=$(printf '%s/f-%04d.png' "$work" $((n - 1)))
  if [[ $(compare -metric AE "$prev" "$f" null: 2>&1) == 0 ]]; then
    still=$((still + 1))
  else
    still=0; moved=1
  fi
  n=$((n + 1))
  ((moved && still >= 8)) && break
done
((moved)) || fail "the middle door did not move"
last=$((n - 1 - still))       # the first frame of the open door
first=0
frames=()
for i in $(seq 0 14); do frames+=("$(printf '%s/f-%04d.png' "$work" $((first + (last - first) * i / 14)))"); done
convert -loop 0 -delay 120 "${frames[0]}" -delay 12 "${frames[@]:1:13}" -delay 200 "${frames[14]}" \
  -layers Optimize "$docs/middle-door.gif" || fail "could not write docs/middle-door.gif"

close_program
size=$(stat -c %s "$docs/middle-door.gif")
((size < 300000)) || fail "docs/middle-door.gif is $size bytes, over 300 KB"
echo "wrote docs/tarvola.png ($(stat -c %s "$docs/tarvola.png") bytes), docs/middle-door.gif ($size bytes, $n frames seen)"
