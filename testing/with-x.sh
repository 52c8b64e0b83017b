#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Runs a command on a private X server (Xvfb) with a window manager (openbox),
# then tears both down. Usage: with-x.sh <command> [args...]
# Environment: WITH_X_SIZE (default 1280x1024x24), WITH_X_DPI (default 96),
# WITH_X_NO_WM=1 for no window manager (benchmarks that watch top-level windows map).
set -u
size=${WITH_X_SIZE:-1280x1024x24}
dpi=${WITH_X_DPI:-96}
tmp=$(mktemp -d)
cleanup() {
  [[ -n "${wm_pid:-}" ]] && kill "$wm_pid" 2>/dev/null
  [[ -n "${x_pid:-}" ]] && kill "$x_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

exec 3>"$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 "$size" -dpi "$dpi" -nolisten tcp -noreset >"$tmp/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$tmp/displayfd" ]] && break
  sleep 0.05
done
num=$(head -n1 "$tmp/displayfd" 2>/dev/null)
if [[ -z "$num" ]]; then
  echo "with-x.sh: Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
fi
export DISPLAY=":$num"
unset WAYLAND_DISPLAY
export HOME="${HOME:-$tmp}"
if [[ -z "${WITH_X_NO_WM:-}" ]]; then
  openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
  wm_pid=$!
  # Wait until the window manager owns the screen (the _NET_SUPPORTING_WM_CHECK property is set).
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi
"$@"
rc=$?
exit $rc
