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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/my \$home/.local"
mkdir -p "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/other.desktop"   # the user's, not ours
run_install() { PREFIX="$prefix" "$src/scripts/install.sh" "$@" >"$work/out" 2>&1; }
lib="$prefix/lib/tarvola"

check "install succeeds" run_install install "$build"

stripped() { for f; do readelf -S "$f" >"$work/sections" && ! grep -q debug_info "$work/sections" || return 1; done; }
check "the installed program and modules carry no debug data" \
  stripped "$lib/tarvola" "$lib/tarvola-metafile" "$lib/libtarvola_sound.so" "$lib/libSorrel3Res.so"

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
