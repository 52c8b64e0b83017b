# Screen and settings-file helpers for the end-to-end tests (sourced after lib.sh).
# Screenshots are raw xwd dumps read by a few lines of perl: much faster than ImageMagick,
# which matters when a check polls the screen until it settles.

shot() {  # shot <file>: the whole root window
  xwd -root -silent >"$1"
}

# The colours of pixels of an xwd dump, one "r,g,b" line per x y pair (TrueColor, 24 or 32
# bits a pixel). Only the header and the pixels asked for are read.
xpx() {  # xpx <xwd> <x> <y> [<x> <y>...]
  perl -e '
    my $file = shift;
    open(my $fh, "<:raw", $file) or die "cannot read $file\n";
    read($fh, my $head, 100) == 100 or die "short xwd file $file\n";
    my @h = unpack("N25", $head);
    my ($hsize, $w, $hgt, $order, $bpp, $bpl, $rm, $gm, $bm, $ncolors) =
       @h[0, 4, 5, 7, 11, 12, 14, 15, 16, 19];
    my $bytes = $bpp / 8;
    while (@ARGV) {
      my ($x, $y) = splice(@ARGV, 0, 2);
      if ($x < 0 || $y < 0 || $x >= $w || $y >= $hgt) { print "off-screen\n"; next; }
      seek($fh, $hsize + 12 * $ncolors + $y * $bpl + $x * $bytes, 0);
      read($fh, my $raw, $bytes);
      $raw .= "\0" x (4 - $bytes);
      my $p = $order == 0 ? unpack("V", $raw) : unpack("N", $raw) >> (8 * (4 - $bytes));
      my @c;
      for my $m ($rm, $gm, $bm) {
        my $s = 0; $s++ until ($m >> $s) & 1;
        push @c, ($p & $m) >> $s;
      }
      print join(",", @c), "\n";
    }
  ' "$@"
}

# Polls the screen until a pixel has the colour wanted; prints the last colour seen.
wait_pixel() {  # wait_pixel <x> <y> <r,g,b> [tries of about 0.1 s, default 30]
  local file seen
  file=$(mktemp)
  for _ in $(seq 1 "${4:-30}"); do
    shot "$file"
    seen=$(xpx "$file" "$1" "$2")
    [[ "$seen" == "$3" ]] && break
    sleep 0.1
  done
  rm -f "$file"
  echo "$seen"
  [[ "$seen" == "$3" ]]
}

# Top-level windows that are mapped and bypass the window manager: pop-up menus, tool tips.
popups() {
  local id
  for id in $(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ /{print $1}'); do
    xwininfo -id "$id" 2>/dev/null |
      awk -v id="$id" '/Map State: IsViewable/{v=1} /Override Redirect State: yes/{o=1} END{if (v && o) print id}'
  done
}

# Waits for a pop-up that was not among those listed before (the window manager keeps
# some of its own); prints its id.
wait_new_popup() {  # wait_new_popup "<ids before>" [tries of about 0.05 s, default 40]
  local p
  for _ in $(seq 1 "${2:-40}"); do
    for p in $(popups); do
      [[ " $1 " == *" $p "* ]] || { echo "$p"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

wait_unmapped() {  # wait_unmapped <window id>
  for _ in $(seq 1 40); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.05
  done
  return 1
}

wait_window_gone() {  # wait_window_gone <exact title>
  for _ in $(seq 1 100); do
    [[ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]] && return 0
    sleep 0.05
  done
  return 1
}

# Writes a settings record the way the program does: one line ended by CR LF.
write_ini() {  # write_ini <file> <record without line end>
  printf '%s\r\n' "$2" >"$1"
}

# Field n (from 1) of a settings record; text fields keep their quotes. The paths used by
# these tests hold no commas.
ini_field() {  # ini_field <file> <n>
  head -n1 "$1" | tr -d '\r' | cut -d, -f"$2"
}

# Whether a field is a whole number within tolerance of a value.
near() {  # near <value> <expected> <tolerance>
  [[ "$1" =~ ^-?[0-9]+$ ]] && (( $1 >= $2 - $3 && $1 <= $2 + $3 ))
}

# Clicks at a place inside a window's client area.
click_at() {  # click_at <window> <x> <y> [button]
  local ox oy
  read -r ox oy < <(client_origin "$1")
  xdotool mousemove $((ox + $2)) $((oy + $3)) click "${4:-1}"
}

# Whether pixels of a screenshot have the colours given, at places relative to an origin;
# prints each mismatch. A wanted colour "!r,g,b" means any colour but that one.
pixels_are() {  # pixels_are <xwd> <ox> <oy> <x> <y> <r,g,b> [<x> <y> <r,g,b>...]
  local file=$1 ox=$2 oy=$3 coords=() wants=() got=() i bad=0
  shift 3
  while (($# >= 3)); do
    coords+=($((ox + $1)) $((oy + $2))); wants+=("$3"); shift 3
  done
  mapfile -t got < <(xpx "$file" "${coords[@]}")
  for i in "${!wants[@]}"; do
    local want=${wants[i]} seen=${got[i]:-nothing}
    if [[ "$want" == !* ]]; then
      [[ "$seen" != "${want#!}" ]] && continue
    else
      [[ "$seen" == "$want" ]] && continue
    fi
    echo "  at ${coords[2 * i]},${coords[2 * i + 1]}: got $seen, want $want"
    bad=1
  done
  return $bad
}

# The window manager's frame around a window: "left right top bottom" in pixels.
frame_extents() {  # frame_extents <window>
  xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','
}

# Polls the screen until pixels have the colours given (as pixels_are takes them), for
# things that move for a while, such as the doors. The last screenshot stays in <xwd>; on
# failure its mismatches are printed.
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
