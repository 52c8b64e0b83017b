#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Installs the Debian packages a profile needs, only those that are missing.
# Usage: scripts/setup.sh build|run|test|fuzz|bench|package
set -euo pipefail

build_pkgs=(
  cmake ninja-build g++ pkg-config dpkg-dev
  qt6-base-dev qt6-svg-dev libxcb1-dev libsm-dev
  libwmf-dev libemf2svg-dev libasound2-dev
  fonts-ipafont-gothic
)
test_pkgs=(
  xvfb xauth openbox xdotool wmctrl x11-utils x11-apps imagemagick desktop-file-utils dbus-daemon libglib2.0-bin
  pulseaudio pulseaudio-utils libasound2-plugins
  file appstream lintian reuse clang-format
  qt6-translations-l10n
)
fuzz_pkgs=(clang libclang-rt-14-dev)
package_pkgs=(file)   # CPack reads the binaries with it to work out the Depends
bench_pkgs=(x11-apps xvfb xauth openbox xdotool dbus-daemon valgrind)

wanted=("${build_pkgs[@]}")
case "${1:-build}" in
  build|run) ;;
  test) wanted+=("${test_pkgs[@]}") ;;
  fuzz) wanted+=("${fuzz_pkgs[@]}") ;;
  package) wanted+=("${package_pkgs[@]}") ;;
  bench) wanted+=("${bench_pkgs[@]}" "${test_pkgs[@]}") ;;
  *) echo "setup.sh: unknown profile '$1'" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
install_line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  run=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  run=(sudo)
elif command -v sudo >/dev/null && [[ -t 0 ]]; then
  run=(sudo)   # sudo may ask for the password on the terminal
else
  echo "Cannot install packages without root. Please run:" >&2
  echo "  sudo sh -c '$install_line'" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -q
"${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
