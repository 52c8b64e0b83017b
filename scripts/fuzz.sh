#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Builds every fuzz target with clang + libFuzzer and runs each for a bounded time.
# New crashing inputs are moved into the topic's corpus, fuzz/corpus/<topic>/, so that every later run
# tries them first; a fault they find gets a test of its own.
set -euo pipefail
seconds=${1:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVOLA_FUZZ=ON -DTARVOLA_TESTS=OFF >/dev/null
targets=$(grep -ho 'tarvola_add_fuzzer([a-z_0-9]*' "$top/fuzz/CMakeLists.txt" | sed 's/.*(//')
[[ -n "$targets" ]] || { echo "no fuzz targets"; exit 0; }
for t in $targets; do cmake --build "$build" --target "fuzz_$t" -j"$(nproc)"; done
status=0
for t in $targets; do
  corpus="$top/fuzz/corpus/$t"; work="$build/work/$t"
  mkdir -p "$corpus" "$work/corpus"
  echo "== fuzz_$t for ${seconds}s"
  if ! (cd "$work" && QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$t" -max_total_time="$seconds" \
         -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" "$work/corpus" "$corpus"); then
    status=1
  fi
  for a in "$work"/crash-* "$work"/timeout-* "$work"/oom-* "$work"/leak-*; do
    [[ -e "$a" ]] || continue
    # Moved, not copied: an input saved once is not reported again by the next run.
    mv -f "$a" "$corpus/"; echo "saved $(basename "$a") to fuzz/corpus/$t/"
  done
done
exit $status
