#!/usr/bin/env bash
# Runs every benchmark and prints their figures with the goals beside them.
set -u
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
for b in "$build"/bench/*; do
  [[ -x "$b" ]] || continue
  name=$(basename "$b")
  echo "== $name"
  case "$name" in
    startup_bench)
      WITH_X_NO_WM=1 tests/e2e/with-x.sh "$b" "$build/bin/tarvola" 7 ;;
    *door*|*drag*|*roll*)
      tests/e2e/with-x.sh "$b" ;;
    *)
      QT_QPA_PLATFORM=offscreen "$b" ;;
  esac
done
