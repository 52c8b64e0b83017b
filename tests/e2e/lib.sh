# Shared helpers for the end-to-end tests (sourced). They run inside with-x.sh.
set -u
checks=0
failures=0

check() {  # check "<what>" <command...>
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}

finish() {
  echo "$((checks - failures)) passed, $failures failed"
  [[ $failures -eq 0 ]]
}

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

# Client area's top-left corner on the root window: "x y".
client_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}

# The colour of a root-window pixel in a screenshot file, as "r,g,b".
pixel() {  # pixel <png> <x> <y>
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Whether window a is stacked above window b among the managed windows.
stacked_above() {  # stacked_above <a> <b>
  local list ia=-1 ib=-1 i=0
  list=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  for w in $list; do
    [[ $((w)) -eq $(($1)) ]] && ia=$i
    [[ $((w)) -eq $(($2)) ]] && ib=$i
    i=$((i + 1))
  done
  [[ $ia -ge 0 && $ib -ge 0 && $ia -gt $ib ]]
}

wait_exit() {  # wait_exit <pid> <seconds>
  for _ in $(seq 1 $(($2 * 20))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}

# Runs a copy of the program and waits for both its windows; sets pid, bus and panel.
start_program() {  # start_program <program> <stderr file>
  "$1" 2>>"$2" &
  pid=$!
  bus=$(wait_window "Tarvola　-　$(basename "$1")")
  panel=$(wait_window "設定パネル")
}

# Closes the bus window through the window manager and waits for the program to end.
close_bus() {
  xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
  wait_exit "$pid" 5
}
