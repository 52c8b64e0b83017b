#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# The same sources give the same package wherever they are built: `make package` of the build
# folder, and `make package` of a copy of the sources in another folder (another path, of
# another length) built afresh, packed with the same SOURCE_DATE_EPOCH, are the same bytes.
# The whole second build is made, as Debian's reproducibility check makes it.
# Usage: reproducible_test.sh <source folder> <build folder>
source "$1/tests/e2e/lib.sh"
src=$1
build=$(realpath "$2")
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=1780000000

# The working tree as it is, uncommitted changes included: what the build folder was built from.
copy="$work/elsewhere/tarvola-second-build"
mkdir -p "$copy"
(cd "$src" && git ls-files -z --cached --others --exclude-standard |
   tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) | tar -C "$copy" -xf -

package() {  # package <source folder> <build folder> <log>: prints the package's path
  rm -f "$2"/tarvola_*.deb
  make -C "$1" --no-print-directory BUILD="$2" package >"$3" 2>&1 || { tail -n 20 "$3" >&2; return 1; }
  ls "$2"/tarvola_*_"$(dpkg --print-architecture)".deb
}
first=$(package "$src" "$build" "$work/first.log")
check "make package in the build folder makes a package" test -f "$first"
second=$(package "$copy" "$copy/build" "$work/second.log")
check "make package of the copy in $copy makes one" test -f "$second"
check "both are the same bytes" cmp "$first" "$second"
sha256sum "$first" "$second"

# What differs, when anything does.
if ! cmp -s "$first" "$second"; then
  for n in 1 2; do
    deb=$first; [[ $n == 2 ]] && deb=$second
    mkdir -p "$work/x$n"
    dpkg-deb --raw-extract "$deb" "$work/x$n/tree"
    dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time >"$work/x$n/listing"
  done
  diff -r "$work/x1/tree" "$work/x2/tree" | head -n 20
  diff "$work/x1/listing" "$work/x2/listing" | head -n 20
fi
finish
