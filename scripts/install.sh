#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# make install / make uninstall for one user: CMake's own install into PREFIX (default
# ~/.local). What it installed is listed beside the program, so that uninstall removes
# exactly that, and nothing outside PREFIX, and leaves the settings file where it is.
#   scripts/install.sh install [build folder] | uninstall
set -euo pipefail
prefix=$(realpath -m "${PREFIX:-$HOME/.local}")
manifest="$prefix/lib/tarvola/install-manifest"
case "${1:-}" in
  install)
    build=${2:-build}
    [[ -x "$build/bin/tarvola" ]] || { echo "install.sh: $build/bin/tarvola is not built; run 'make build' first" >&2; exit 1; }
    cmake --install "$build" --prefix "$prefix" --strip   # no debug data in what users run
    { cat "$build/install_manifest.txt"; echo; } >"$manifest"
    echo "Installed Tarvola in $prefix: start it from the desktop menu or as $prefix/bin/tarvola" ;;
  uninstall)
    [[ -f "$manifest" ]] || { echo "Tarvola is not installed in $prefix; nothing removed"; exit 0; }
    while IFS= read -r file || [[ -n "$file" ]]; do
      [[ "$file" == "$prefix"/* && "$file" != */../* ]] || continue   # empty lines, or not ours
      rm -f -- "$file"
      # Folders the install made and left empty go too; one that holds anything stays.
      dir=$(dirname "$file")
      while [[ "$dir" != "$prefix" ]] && rmdir -- "$dir" 2>/dev/null; do dir=$(dirname "$dir"); done
    done < <(cat "$manifest"; echo "$manifest")
    echo "Removed Tarvola from $prefix" ;;
  *) echo "usage: scripts/install.sh install [build folder] | uninstall   (PREFIX=... for another place)" >&2; exit 2 ;;
esac
