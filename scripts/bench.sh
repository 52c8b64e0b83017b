#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Runs every benchmark, shows each one's output as it comes, then one table of all figures
# with their goals. A figure is a line "name: value unit (goal: ...)"; the 1-minute load
# average taken just before its benchmark started stands beside it, since the machine may
# be shared and waits and repaints stretch under load.
set -u
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for b in "$build"/bench/*; do
  # the modules and the metafile renderer beside the benchmarks are no benchmarks
  [[ -f "$b" && -x "$b" && "$b" != *.so && "$b" != */tarvola-metafile ]] || continue
  name=$(basename "$b")
  load=$(cut -d' ' -f1 /proc/loadavg)
  echo "== $name (load $load)"
  out=$(mktemp)
  case "$name" in
    startup_bench)
      # As on a desktop: a session bus is there (without one, Qt spends its start trying to launch one).
      WITH_X_NO_WM=1 testing/with-x.sh dbus-run-session -- "$b" "$build/bin/tarvola" "$build/tools/bare_two_windows" 21 ;;
    startup_phases_bench)
      WITH_X_NO_WM=1 testing/with-x.sh dbus-run-session -- "$b" ;;
    *door*|*drag*|*roll*|*version_dialog*)
      testing/with-x.sh "$b" ;;
    *)
      QT_QPA_PLATFORM=offscreen "$b" ;;
  esac | tee "$out"  # figures come on stdout; warnings pass by on stderr
  rc=${PIPESTATUS[0]}
  # name<TAB>figure<TAB>load<TAB>goal; a line without a goal keeps its own note, if any.
  sed -n -E 's/^([^:]+): (.*)$/\1\t\2/p' "$out" | while IFS=$'\t' read -r key rest; do
    if [[ "$rest" =~ ^(.*[^[:space:]])[[:space:]]*\(goal:[[:space:]]*(.*)\)$ ]]; then
      printf '%s\t%s\t%s\t%s\n' "$key" "${BASH_REMATCH[1]}" "$load" "${BASH_REMATCH[2]}"
    elif [[ "$rest" =~ ^(.*[^[:space:]])[[:space:]]*\((.*)\)$ ]]; then
      printf '%s\t%s\t%s\t[%s]\n' "$key" "${BASH_REMATCH[1]}" "$load" "${BASH_REMATCH[2]}"
    else
      printf '%s\t%s\t%s\t-\n' "$key" "$rest" "$load"
    fi
  done >>"$rows"
  [[ $rc -eq 0 ]] || printf '%s\tFAILED (exit %s)\t%s\t-\n' "$name" "$rc" "$load" >>"$rows"
  rm -f "$out"
done

echo
echo "== all figures ($(nproc) processors; load = 1-minute load average when the benchmark started)"
awk -F'\t' '
  { for (i = 1; i <= 4; i++) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } }
  END {
    split("name figure load goal", head, " ")
    for (i = 1; i <= 4; i++) if (length(head[i]) > w[i]) w[i] = length(head[i])
    fmt = "%-" w[1] "s  %-" w[2] "s  %-" w[3] "s  %s\n"
    printf fmt, head[1], head[2], head[3], head[4]
    printf fmt, dashes(w[1]), dashes(w[2]), dashes(w[3]), dashes(w[4])
    for (r = 1; r <= NR; r++) printf fmt, cell[r, 1], cell[r, 2], cell[r, 3], cell[r, 4]
  }
  function dashes(n,   s) { s = ""; while (n-- > 0) s = s "-"; return s }
' "$rows"
