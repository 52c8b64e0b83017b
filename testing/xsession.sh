# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Helpers for whatever drives the real program on an X display (sourced, inside with-x.sh):
# the end-to-end tests, the soak run and the README's pictures. TARVOLA_BIN names the build's
# bin folder.

# A copy of the built program (with the modules it loads) in a fresh folder, under a name.
install_copy() {  # install_copy <dir> <name>
  mkdir -p "$1"
  cp "$TARVOLA_BIN/tarvola" "$1/$2"
  for module in libSorrel3Res.so tarvola-metafile libtarvola_sound.so; do
    [[ -f "$TARVOLA_BIN/$module" ]] && cp "$TARVOLA_BIN/$module" "$1/"
  done
  return 0
}

wait_window() {  # wait_window <exact title> → prints the window id
  local id
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}
wait_exit() {  # wait_exit <pid> <seconds>
  for _ in $(seq 1 $(($2 * 20))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}

client_origin() {  # client_origin <window> → the client area's top-left corner on the screen, "x y"
  [[ -n $1 ]] || return 1  # xwininfo without a window would wait for a click on one
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}
