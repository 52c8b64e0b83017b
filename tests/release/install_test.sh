#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# make install / make uninstall for one user, into a throw-away prefix (with a space and a dollar
# sign in it): reinstalling and uninstalling leave the user's own files alone.
# (The package test, built from the same install rules, checks the file list, the links, the
# desktop entry and icons, and where the installed program keeps its settings.)
# Usage (inside testing/with-x.sh): install_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
src=$1
build=$2
prefix="$work/my \$home/.local"
mkdir -p "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/other.desktop"   # the user's, not ours
run_install() { PREFIX="$prefix" "$src/scripts/install.sh" "$@" >"$work/out" 2>&1; }
lib="$prefix/lib/tarvola"

check "install succeeds" run_install install "$build"

# The menu entry, started as a desktop starts it, by a session whose PATH lacks the prefix's
# bin/ (as ~/.local/bin until the next login).
entry="$prefix/share/applications/tarvola.desktop"
check "the installed desktop entry passes desktop-file-validate" desktop-file-validate "$entry"
launch_entry() {
  env PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$work/config" gio launch "$entry" 2>>"$work/launch" &&
    bus=$(wait_window "Tarvola　-　tarvola") && panel=$(wait_window "設定パネル") && pid=$(xdotool getwindowpid "$bus") &&
    test "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$lib/tarvola")" && close_bus
}
check "the desktop entry starts the installed program without the prefix on the PATH" launch_entry
cat "$work/launch" 2>/dev/null

# `make install` builds the `installed` target: it must make every file the install rules take
# from the build folder, and no test or benchmark. Ninja's graph of a target holds every file
# it builds, order-only dependencies too.
nodes() { ninja -C "$build" -t graph "$1" | grep -oE 'label="[^"]+"' | sed 's/^label="//; s/"$//' | sort -u; }
made=$(nodes all)
needed=$(nodes installed)
missing=()
for file in $(grep -rhoE "\"$build/[^\"]+\"" --include=cmake_install.cmake "$build" | tr -d '"' | sed "s|^$build/||" | sort -u); do
  grep -qxF "$file" <<<"$made" && ! grep -qxF "$file" <<<"$needed" && missing+=("$file")
done
echo "the installed target lacks: ${missing[*]:-nothing}"
check "the installed target builds every file the install rules copy from the build" test ${#missing[@]} -eq 0
check "and none of the tests and benchmarks" bash -c "! grep -qE '(^|/)(tst_[a-z0-9_]*|[a-z0-9_]*_bench)\$' <<<'$needed'"

check "the installed program and modules carry no debug data and no compiler notes (.comment)" \
  without_notes "$lib/tarvola" "$lib/tarvola-metafile" "$lib/libtarvola_sound.so" "$lib/libSorrel3Res.so"

check "installing again over the installation succeeds" run_install install "$build"
echo keep >"$work/outside"
echo "$work/outside" >>"$lib/install-manifest"   # a manifest leading outside the prefix
check "uninstall succeeds" run_install uninstall
left=$(cd "$prefix" && find . -mindepth 1 | sort | xargs)
check "only the user's own files remain" test "$left" = "./share ./share/applications ./share/applications/other.desktop"
check "nothing outside the prefix is removed" test -f "$work/outside"
run_install install "$work" && echo "installed without a build" >"$work/out"
check "install from a folder without a build fails, saying to build first" grep -q "make build" "$work/out"
finish
