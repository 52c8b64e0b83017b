#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack, unpacked into a throw-away root,
# checked by Debian's own validators, and the unpacked program, in a folder it cannot write,
# run by an ordinary user: its settings go to $XDG_CONFIG_HOME/tarvola/ and come back.
# Usage (inside tests/e2e/with-x.sh): package_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
build=$2
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

(cd "$build" && rm -f tarvola_*.deb && cpack >"$work/cpack.log" 2>&1)
deb=$(ls "$build"/tarvola_*_"$(dpkg --print-architecture)".deb 2>/dev/null)
check "CPack makes tarvola_<version>_<arch>.deb" test -f "$deb"
check "Debian's lintian finds no error in it" bash -c "! lintian '$deb' 2>/dev/null | grep '^E:'"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libwmf-0.2-7 libemf2svg1 libqt6svg6 libasound2; do
  check "its Depends, worked out from the binaries, name $library" grep -q "$library" <<<"$depends"
done
check "it is in section games" test "$(dpkg-deb -f "$deb" Section)" = games

root="$work/root"
dpkg-deb -x "$deb" "$root"
expected="usr/bin/tarvola usr/games/tarvola usr/lib/tarvola/libSorrel3Res.so usr/lib/tarvola/libtarvola_sound.so
usr/lib/tarvola/tarvola usr/lib/tarvola/tarvola-metafile usr/share/applications/tarvola.desktop
usr/share/doc/tarvola/changelog.gz usr/share/doc/tarvola/copyright usr/share/icons/hicolor/32x32/apps/tarvola.png
usr/share/icons/hicolor/64x64/apps/tarvola.png usr/share/icons/hicolor/scalable/apps/tarvola.svg
usr/share/man/man6/tarvola.6.gz usr/share/metainfo/com.example.Tarvola.metainfo.xml"
check "it holds the program, its modules, the links, desktop entry, icons, metainfo and manual" \
  test "$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort | xargs)" = "$(xargs <<<"$expected")"
check "the links lead to the program" test "$(readlink -f "$root/usr/bin/tarvola")" = "$root/usr/lib/tarvola/tarvola"
check "the desktop entry passes desktop-file-validate" desktop-file-validate "$root/usr/share/applications/tarvola.desktop"
check "the metainfo passes appstreamcli validate" \
  appstreamcli validate --no-net "$root/usr/share/metainfo/com.example.Tarvola.metainfo.xml"
check "the manual page reads without warnings" \
  bash -c "[[ -z \$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$root/usr/share/man/man6/tarvola.6.gz' 2>&1 >/dev/null) ]]"

# As installed system-wide: a program folder its user cannot write (root writes anywhere, so
# the program runs as nobody).
chmod -R a-w "$root/usr/lib/tarvola"
home="$work/home"
mkdir -p "$home/runtime" && chmod 700 "$home/runtime" && chown -R nobody "$home"
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
      env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime")
ini="$home/config/tarvola/tarvola.ini"
run() {  # starts the unpacked program as nobody, optionally clicks the roll speed up once, closes it
  "${user[@]}" "$root/usr/bin/tarvola" 2>>"$work/stderr" &
  pid=$!
  bus=$(wait_window "Tarvola　-　tarvola") && panel=$(wait_window "設定パネル") || return 1
  if [[ $1 == faster ]]; then
    xdotool mousemove --window "$panel" 240 40 click 1   # sign 0's roll speed: its right arrow
    sleep 0.3
  fi
  close_bus
}
check "the packaged program starts from its read-only folder and closes" run faster
check "its settings file is written in \$XDG_CONFIG_HOME/tarvola/" test -s "$ini"
check "and not beside the program" test ! -e "$root/usr/lib/tarvola/tarvola.ini"
check "the roll speed of sign 0 was stored as 2" test "$(cut -d, -f7 "$ini")" = 2
check "a second start reads it back and stores it again" run same
check "the roll speed is still 2" test "$(cut -d, -f7 "$ini")" = 2
check "nothing was printed" test ! -s "$work/stderr"
finish
