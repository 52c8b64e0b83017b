#!/usr/bin/env bash
# make install / make uninstall for one user, into a throw-away prefix (with a space and a dollar
# sign in it): reinstalling and uninstalling keep the settings file and the user's own files.
# (The package test checks the icons, the desktop entry's content and the file list.)
# Usage (inside tests/e2e/with-x.sh): install_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
src=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/my \$home/.local"
mkdir -p "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/other.desktop"   # the user's, not ours
run_install() { PREFIX="$prefix" "$src/scripts/install.sh" "$@" >"$work/out" 2>&1; }
lib="$prefix/lib/tarvola"

check "install succeeds" run_install install "$build"
check "the launcher leads to the installed program" \
  test "$(readlink -f "$prefix/bin/tarvola")" = "$(readlink -f "$lib/tarvola")"

# Through the launcher, the settings land beside the real file, in the user's library folder.
run_and_close() {
  "$prefix/bin/tarvola" 2>"$work/stderr" &
  pid=$!
  bus=$(wait_window "Tarvola　-　tarvola") || { kill "$pid"; return 1; }
  close_bus
}
check "the installed program starts and closes" run_and_close
check "its settings file lands in the library folder" test -s "$lib/tarvola.ini"
cp "$lib/tarvola.ini" "$work/settings-before"

check "installing again over the installation succeeds" run_install install "$build"
check "the settings file survives a reinstall" cmp -s "$lib/tarvola.ini" "$work/settings-before"
echo keep >"$work/outside"
echo "$work/outside" >>"$lib/install-manifest"   # a manifest leading outside the prefix
check "uninstall succeeds" run_install uninstall
left=$(cd "$prefix" && find . -mindepth 1 | sort | xargs)
check "only the settings file and the user's own files remain" test "$left" = \
  "./lib ./lib/tarvola ./lib/tarvola/tarvola.ini ./share ./share/applications ./share/applications/other.desktop"
check "the settings file is unchanged" cmp -s "$lib/tarvola.ini" "$work/settings-before"
check "nothing outside the prefix is removed" test -f "$work/outside"
run_install uninstall
check "a second uninstall says there is nothing to remove" grep -q "not installed" "$work/out"
run_install install "$work" && echo "installed without a build" >"$work/out"
check "install from a folder without a build fails, saying to build first" grep -q "make build" "$work/out"
finish
