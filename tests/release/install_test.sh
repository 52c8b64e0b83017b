#!/usr/bin/env bash
# Installs into a throw-away prefix, looks at what a desktop user would get,
# starts the installed program through its launcher, and uninstalls again.
# Usage: install_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
src=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A space and a dollar sign in the prefix: the launcher path in the desktop
# entry must be quoted for it to work.
prefix="$work/my \$home/.local"
mkdir -p "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/other.desktop"   # the user's, not ours
run_install() { PREFIX="$prefix" "$src/scripts/install.sh" "$@" >"$work/out" 2>&1; }
fails() { ! "$@"; }

check "install succeeds" run_install install "$build"
cat "$work/out"
lib="$prefix/lib/tarvola"
desktop="$prefix/share/applications/tarvola.desktop"
check "the program is installed and runnable" test -x "$lib/tarvola"
check "the program is the built one" cmp -s "$lib/tarvola" "$build/bin/tarvola"
check "the maker's library lies beside it" cmp -s "$lib/libSorrel3Res.so" "$build/bin/libSorrel3Res.so"
for module in tarvola-metafile libtarvola_sound.so; do
  check "$module lies beside it" cmp -s "$lib/$module" "$build/bin/$module"
done
check "the launcher leads to the installed program" \
  test "$(readlink -f "$prefix/bin/tarvola")" = "$(readlink -f "$lib/tarvola")"

png_size() {  # the width and height in a PNG header, as "WxH"
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}
check "32-pixel icon" test "$(png_size "$prefix/share/icons/hicolor/32x32/apps/tarvola.png")" = "32x32"
check "64-pixel icon" test "$(png_size "$prefix/share/icons/hicolor/64x64/apps/tarvola.png")" = "64x64"
check "scalable icon" grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/tarvola.svg"

key() { sed -n "s/^$1=//p" "$desktop"; }
check "desktop entry names the program" test "$(key Name)" = "Tarvola"
check "desktop entry has a Japanese name" test -n "$(key 'Name\[ja\]')"
check "desktop entry has a comment" test -n "$(key Comment)"
check "desktop entry uses the themed icon" test "$(key Icon)" = "tarvola"
check "desktop entry is a game" test "$(key Categories)" = "Game;Amusement;"
# Undo the desktop entry's quoting the way a launcher does: strip the string
# escaping, then the outer quotes and the backslashes before " \` $ \.
exec_path=$(key Exec | sed 's/\\\\/\\/g; s/^"//; s/"$//; s/\\\(["`$\\]\)/\1/g')
check "desktop entry starts the launcher" test "$exec_path" = "$prefix/bin/tarvola"
if command -v desktop-file-validate >/dev/null; then
  check "desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"
else
  echo "skip - desktop-file-validate not found (Debian package desktop-file-utils)"
fi

# Started through the launcher, the program writes its settings beside its real
# file: the library folder, which the user owns.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v openbox >/dev/null; then
  run_and_close() {
    "$prefix/bin/tarvola" 2>"$work/stderr" &
    local pid=$! bus
    bus=$(wait_window "Tarvola　-　tarvola") || { kill "$pid"; return 1; }
    xdotool windowactivate --sync "$bus" key --clearmodifiers alt+F4
    wait_exit "$pid" 5 || { kill "$pid"; return 1; }
  }
  export -f run_and_close wait_window wait_exit
  export prefix work
  check "the installed program starts and closes" \
    env QT_QPA_PLATFORM=xcb "$src/tests/e2e/with-x.sh" bash -c run_and_close
  check "its settings file lands in the library folder" test -s "$lib/tarvola.ini"
  check "and not beside the launcher" test ! -e "$prefix/bin/tarvola.ini"
else
  echo "skip - no Xvfb/openbox/xdotool: the user's settings file is made by hand"
  printf '0,0,0,3270,"","",1,1,"",8790,1680,#TRUE#,#TRUE#,10000,6000,0\r\n' >"$lib/tarvola.ini"
fi
cp "$lib/tarvola.ini" "$work/settings-before"

check "installing again over the installation succeeds" run_install install "$build"
check "the settings file survives a reinstall" cmp -s "$lib/tarvola.ini" "$work/settings-before"
check "the manifest lists each thing once" test -z "$(sort "$lib/install-manifest" | uniq -d)"

# A manifest pointing outside the prefix must not make uninstall remove it.
echo keep >"$work/outside"
echo "file $work/outside" >>"$lib/install-manifest"
echo "file $prefix/../outside" >>"$lib/install-manifest"

check "uninstall succeeds" run_install uninstall
left=$(cd "$work" && find . -mindepth 1 ! -type d | sort | tr '\n' ' ')
expected="./my \$home/.local/lib/tarvola/tarvola.ini ./my \$home/.local/share/applications/other.desktop ./out ./outside ./settings-before ./stderr "
[[ -e "$work/stderr" ]] || expected=${expected/.\/stderr /}
check "only the settings file and the user's own files remain" test "$left" = "$expected"
[[ "$left" == "$expected" ]] || echo "  left: $left"
check "the settings file is unchanged" cmp -s "$lib/tarvola.ini" "$work/settings-before"
check "empty folders made by install are gone" test ! -e "$prefix/share/icons"
check "folders that held the user's files stay" test -d "$prefix/share/applications"
check "a second uninstall says there is nothing to remove" run_install uninstall
check "  ... in words" grep -q "not installed" "$work/out"

empty=$(mktemp -d)
check "install from a folder without a build fails" fails run_install install "$empty"
check "  ... and says to build first" grep -q "make build" "$work/out"
rmdir "$empty"
check "a failed install leaves no manifest" test ! -e "$lib/install-manifest"

# Stopped half-way (a file stands where the icon folders go): what was made is
# still listed, and uninstall takes exactly that away.
rm -rf "$prefix"; mkdir -p "$prefix/share"; echo mine >"$prefix/share/icons"
check "install stopped by a file in the way fails" fails run_install install "$build"
check "  ... and says how to clean up" grep -q "make uninstall" "$work/out"
check "  ... having listed what it made" grep -qxF "file $lib/tarvola" "$lib/install-manifest"
check "uninstall after the stop succeeds" run_install uninstall
check "  ... and leaves only what was there before" \
  test "$(cd "$prefix" && find . -mindepth 1 | sort | tr '\n' ' ')" = "./share ./share/icons "
finish
