#!/usr/bin/env bash
# Runs every benchmark program of a build folder. Drivers that compare with an
# outside baseline (grep, tail) do so themselves, in the same run.
set -euo pipefail
build=${1:?build folder}
shift
found=0
for b in "$build"/benchmarks/bench_*; do
  [[ -f $b && -x $b ]] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" "$@"
done
if [[ $found -eq 0 ]]; then echo "no benchmarks built yet"; fi
