#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The Debian package as a user gets it: built by CPack, unpacked into a throw-away root,
# checked by Debian's own validators, and the unpacked program run by an ordinary user (in a
# folder it cannot write) and by root (who could write there): both keep their settings in
# $XDG_CONFIG_HOME/tarvola/, and they come back.
# Usage (inside testing/with-x.sh): package_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
build=$2
chmod 755 "$work"

(cd "$build" && rm -f tarvola_*.deb && cpack >"$work/cpack.log" 2>&1)
deb=$(ls "$build"/tarvola_*_"$(dpkg --print-architecture)".deb 2>/dev/null)
check "CPack makes tarvola_<version>_<arch>.deb" test -f "$deb"
lintian -I "$deb" >"$work/lintian" 2>/dev/null
sed 's/^/  lintian: /' "$work/lintian"
check "Debian's lintian finds no error, no missing hardening and no warning from the manual page in it" \
  bash -c "! grep -E '^E:|hardening|groff-message' '$work/lintian'"
check "nor a section left that Debian strips (binary-has-unneeded-section)" \
  bash -c "! grep -q binary-has-unneeded-section '$work/lintian'"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libwmf-0.2-7 libemf2svg1 libqt6svg6 libasound2; do
  check "its Depends, worked out from the binaries, name $library" grep -q "$library" <<<"$depends"
done
check "it recommends Qt's translations" grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)"
check "it is in section games, version 1.0.0" test "$(dpkg-deb -f "$deb" Section Version)" = $'Section: games\nVersion: 1.0.0'
dpkg-deb -e "$deb" "$work/control"
check "its libraries are private: no ldconfig at install or removal" bash -c "! grep -rq ldconfig '$work/control'"

root="$work/root"
dpkg-deb -x "$deb" "$root"
# dpkg's own measure: each file in whole KiB, one for each folder and link.
kib=$(find "$root" -mindepth 1 \( -type f -printf '%s\n' \) -o -printf '1024\n' | awk '{k += int(($1 + 1023) / 1024)} END {print k}')
check "its Installed-Size, $(dpkg-deb -f "$deb" Installed-Size) KiB, is what it unpacks ($kib KiB)" \
  test "$(dpkg-deb -f "$deb" Installed-Size)" -ge $((kib * 95 / 100)) -a "$(dpkg-deb -f "$deb" Installed-Size)" -le $((kib * 105 / 100 + 8))
expected="usr/bin/tarvola usr/games/tarvola usr/lib/tarvola/libSorrel3Res.so usr/lib/tarvola/libtarvola_sound.so
usr/lib/tarvola/tarvola usr/lib/tarvola/tarvola-installed usr/lib/tarvola/tarvola-metafile usr/share/applications/tarvola.desktop
usr/share/doc/tarvola/changelog.gz usr/share/doc/tarvola/copyright usr/share/icons/hicolor/32x32/apps/tarvola.png
usr/share/icons/hicolor/64x64/apps/tarvola.png usr/share/icons/hicolor/scalable/apps/tarvola.svg usr/share/lintian/overrides/tarvola
usr/share/man/man6/tarvola.6.gz usr/share/metainfo/com.example.Tarvola.metainfo.xml"
check "it holds the program, its modules, the links, desktop entry, icons, metainfo and manual" \
  test "$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort | xargs)" = "$(xargs <<<"$expected")"
check "the links lead to the program" test "$(readlink -f "$root/usr/bin/tarvola")" = "$root/usr/lib/tarvola/tarvola"
check "its program and modules carry no debug data and no compiler notes (.comment)" without_notes \
  "$root"/usr/lib/tarvola/{tarvola,tarvola-metafile,libtarvola_sound.so,libSorrel3Res.so}
# The renderer starts on the first picture and the module loads on the first sound: neither
# needs the widgets library (a library of code compiled in batches can drag it in unasked).
no_widgets() { for f; do readelf -d "$f" | grep NEEDED >"$work/needed" && ! grep -q libQt6Widgets "$work/needed" || return 1; done; }
check "the renderer program and the sound module do not load Qt's widgets library" \
  no_widgets "$root"/usr/lib/tarvola/{tarvola-metafile,libtarvola_sound.so}
newest=$(dpkg-deb --fsys-tarfile "$deb" | TZ=UTC tar -tv --full-time | awk '{print $4 " " $5}' | sort | tail -n 1)
commit_time=$(TZ=UTC date -d "@$(git -C "$1" log -1 --format=%ct)" '+%F %T')
check "its files are no newer than the last commit, $commit_time (SOURCE_DATE_EPOCH): $newest" \
  test ! "$newest" \> "$commit_time"
check "its desktop entry starts the program by name, which /usr/bin puts on every PATH" \
  grep -qx 'Exec=tarvola' "$root/usr/share/applications/tarvola.desktop"
check "the desktop entry passes desktop-file-validate" desktop-file-validate "$root/usr/share/applications/tarvola.desktop"
check "the metainfo passes appstreamcli validate, pedantic too, and names version 1.0.0" bash -c \
  "appstreamcli validate --no-net --pedantic '$root/usr/share/metainfo/com.example.Tarvola.metainfo.xml' &&
   grep -q '<release version=\"1.0.0\"' '$root/usr/share/metainfo/com.example.Tarvola.metainfo.xml'"
# Lintian has read the manual page in the default locale; the C locale shows the panel's labels
# romanised.
LC_ALL=C MANWIDTH=80 man --warnings -l "$root/usr/share/man/man6/tarvola.6.gz" 2>"$work/man-warnings" | tr -s '[:space:]' ' ' >"$work/man-C"
check "the manual page reads without warnings in the C locale" test ! -s "$work/man-warnings"
check "in the C locale it names the roll speed in ASCII" grep -q '("Maku no sokudo", roll speed)' "$work/man-C"
check "its footer names version 1.0.0" grep -q 'Tarvola 1\.0\.0 December 2026' "$work/man-C"

# As installed system-wide: a program folder its user cannot write (root writes anywhere, so
# the program runs as nobody).
chmod -R a-w "$root/usr/lib/tarvola"
home="$work/home"
mkdir -p "$home/runtime" && chmod 700 "$home/runtime" && chown -R nobody "$home"
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
      env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime")
ini="$home/config/tarvola/tarvola.ini"
run() {  # starts the unpacked program as user[@] says, optionally clicks the roll speed up once, closes it
  "${user[@]}" "$root/usr/bin/tarvola" 2>>"$work/stderr" &
  pid=$!
  bus=$(wait_window "Tarvola　-　tarvola") && panel=$(wait_window "設定パネル") || return 1
  grep -o '/[^ ]*/qt6/plugins/.*' "/proc/$pid/maps" >>"$work/plugins"
  [[ $1 == faster ]] && faster
  close_bus
}
check "the packaged program starts from its read-only folder and closes" run faster
check "its settings file is written in \$XDG_CONFIG_HOME/tarvola/" test -s "$ini"
check "and not beside the program" test ! -e "$root/usr/lib/tarvola/tarvola.ini"
check "the roll speed of sign 0 was stored as 2" test "$(cut -d, -f7 "$ini")" = 2
check "a second start reads it back and stores it again" run same
check "the roll speed is still 2" test "$(cut -d, -f7 "$ini")" = 2
# The toolkit loads plugins at run time, which no library dependency names.
check "it loaded the X11 platform plugin" grep -q '/platforms/libqxcb\.so$' "$work/plugins"
for package in $(sort -u "$work/plugins" | xargs -r dpkg -S | cut -d: -f1 | sort -u); do
  check "the plugins it loaded come from packages it depends on: $package" grep -qw "$package" <<<"$depends"
done

# Root may write the program's folder; as an installed program it keeps root's settings in
# root's configuration folder all the same.
beside=$(ls -A "$root/usr/lib/tarvola")
user=(env HOME="$work/root-home" XDG_CONFIG_HOME="$work/root-config")
check "root starts the packaged program and closes it" run faster
check "root's settings file is written in its \$XDG_CONFIG_HOME/tarvola/" \
  test "$(cut -d, -f7 "$work/root-config/tarvola/tarvola.ini")" = 2
check "and nothing new beside the program" test "$(ls -A "$root/usr/lib/tarvola")" = "$beside"
check "nothing was printed" test ! -s "$work/stderr"
finish
