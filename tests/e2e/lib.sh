# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Shared helpers for the end-to-end tests (sourced). They run inside testing/with-x.sh.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../testing/xsession.sh"
checks=0
failures=0
# A folder of the test's own, removed at the end with the program it started last.
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

check() {  # check "<what>" <command...>
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}

finish() {
  echo "$((checks - failures)) passed, $failures failed"
  [[ $failures -eq 0 ]]
}

poll_until() {  # poll_until <tries of about 0.05 s> <command...>: until the command succeeds
  for _ in $(seq 1 "$1"); do "${@:2}" && return 0; sleep 0.05; done
  return 1
}
poll_until_not() {  # poll_until_not <tries of about 0.05 s> <command...>: until the command fails
  for _ in $(seq 1 "$1"); do "${@:2}" || return 0; sleep 0.05; done
  return 1
}
mapped() { [[ -n $1 ]] && xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
shown() { [[ -n "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]]; }

frame_extents() { [[ -n $1 ]] && xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','; }  # → "left right top bottom"

# Runs a copy of the program and waits for both its windows; sets pid, bus and panel. A program
# that does not show them ends the test: every later step would act on no window.
start_program() {  # start_program <program> <stderr file> [arguments...]
  "$1" "${@:3}" 2>>"$2" &
  pid=$!
  bus=$(wait_window "Tarvola　-　$(basename "$1")")
  panel=$(wait_window "設定パネル")
  if [[ -z $bus || -z $panel ]]; then
    echo "FAIL - the program showed its windows"; cat "$2"; exit 1
  fi
}

close_bus() {  # through the window manager, waiting for the program to end
  xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
  wait_exit "$pid" 5
}

click_at() {  # click_at <window> <x> <y> [button]: at a place of the window's client area
  local ox oy
  read -r ox oy < <(client_origin "$1")
  xdotool mousemove $((ox + $2)) $((oy + $3)) click "${4:-1}"
}

stacked_above() {  # stacked_above <a> <b>: among the managed windows, listed bottom to top
  [[ $(xprop -root _NET_CLIENT_LIST_STACKING | grep -oE '0x[0-9a-f]+' | while read -r w; do
         echo $((w)); done | grep -xE "$1|$2" | xargs) == "$2 $1" ]]
}

faster() {  # sign 0's roll speed one up: its right arrow on the panel
  xdotool mousemove --window "$panel" 240 40 click 1
  sleep 0.3
}

# Whether the files carry no debug data and no compiler notes (.comment).
without_notes() { for f; do readelf -S "$f" >"$work/sections" && ! grep -qE 'debug_info|\.comment' "$work/sections" || return 1; done; }

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
}

# Mapped windows that bypass the window manager: pop-up menus (openbox keeps some of its own).
popups() {
  for id in $(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ /{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && mapped "$id" && echo "$id"
  done
}
# Opens the pop-up menu with a right click at a place of the bus window and picks the n-th item.
menu_item() {  # menu_item <x> <y> <n>
  local before menu= p
  before=$(popups)
  click_at "$bus" "$1" "$2" 3
  for _ in $(seq 1 40); do
    for p in $(popups); do [[ " $before " == *" $p "* ]] || menu=$p; done
    [[ -n "$menu" ]] && break
    sleep 0.05
  done
  [[ -n "$menu" ]] || { echo "  no menu opened"; return 1; }
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 1 "$3")) Return
  poll_until_not 40 mapped "$menu"
}

# Field n (from 1) of a settings record; text fields keep their quotes (no commas in these paths).
ini_field() { head -n1 "$1" | tr -d '\r' | cut -d, -f"$2"; }  # ini_field <file> <n>

# Screenshots are raw xwd dumps read by a few lines of perl: much faster than ImageMagick, which
# matters when a check polls the screen until it settles. xpx prints the colours of pixels of a
# dump (TrueColor, 24 or 32 bits a pixel), one "r,g,b" line per x y pair.
shot() { xwd -root -silent >"$1"; }
xpx() {  # xpx <xwd> <x> <y> [<x> <y>...]
  perl -e '
    my $file = shift;
    open(my $fh, "<:raw", $file) or die "cannot read $file\n";
    read($fh, my $head, 100) == 100 or die "short xwd file $file\n";
    my ($hsize, $w, $hgt, $order, $bpp, $bpl, $rm, $gm, $bm, $ncolors) = (unpack("N25", $head))[0, 4, 5, 7, 11, 12, 14, 15, 16, 19];
    while (my ($x, $y) = splice(@ARGV, 0, 2)) {
      if ($x < 0 || $y < 0 || $x >= $w || $y >= $hgt) { print "off-screen\n"; next; }
      seek($fh, $hsize + 12 * $ncolors + $y * $bpl + $x * $bpp / 8, 0);
      read($fh, my $raw, $bpp / 8);
      $raw .= "\0" x (4 - $bpp / 8);
      my $p = $order == 0 ? unpack("V", $raw) : unpack("N", $raw) >> (32 - $bpp);
      print join(",", map { my $s = 0; $s++ until ($_ >> $s) & 1; ($p & $_) >> $s } ($rm, $gm, $bm)), "\n";
    }
  ' "$@"
}

# Whether pixels of a screenshot have the colours given, at places relative to an origin;
# prints each mismatch.
pixels_are() {  # pixels_are <xwd> <ox> <oy> <x> <y> <r,g,b> [<x> <y> <r,g,b>...]
  local file=$1 ox=$2 oy=$3 coords=() wants=() got=() i bad=0
  shift 3
  while (($# >= 3)); do coords+=($((ox + $1)) $((oy + $2))); wants+=("$3"); shift 3; done
  mapfile -t got < <(xpx "$file" "${coords[@]}")
  for i in "${!wants[@]}"; do
    [[ "${got[i]:-nothing}" == "${wants[i]}" ]] && continue
    echo "  at ${coords[2 * i]},${coords[2 * i + 1]}: got ${got[i]:-nothing}, want ${wants[i]}"
    bad=1
  done
  return $bad
}

# Polls the screen until pixels have the colours given (as pixels_are takes them), for things
# that move for a while, such as the doors. The last screenshot stays in <xwd>; on failure its
# mismatches are printed.
wait_pixels() {  # wait_pixels <xwd> <tries of about 0.1 s> <ox> <oy> <x> <y> <r,g,b> [...]
  local file=$1 tries=$2
  shift 2
  for _ in $(seq 1 "$tries"); do
    shot "$file"
    pixels_are "$file" "$@" >/dev/null && return 0
    sleep 0.1
  done
  pixels_are "$file" "$@"
}
