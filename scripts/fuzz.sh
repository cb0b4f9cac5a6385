#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ and runs
# each for SECONDS, then prints for each what it ran, the coverage it
# reached and what it found. Exits non-zero when any target found a fault.
#
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 600 reg_import
#
# A target starts from its seed corpus fuzz/corpus/<target>, copied into
# build-fuzz/corpus/<target>, where the inputs it finds stay for the next
# run; fuzz/corpus itself only ever holds the small hand-made seeds and the
# regression inputs of faults that were mended. A finding is kept in
# build-fuzz/findings/<target>/. FUZZ_JOBS sets the build's parallel jobs
# (default 2).
set -euo pipefail

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
cd "$root"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [[ ! -f $build/build.ninja ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVIK_FUZZ=ON -DTARVIK_SANITIZE=ON -DTARVIK_UI=OFF -DTARVIK_TESTS=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target "${targets[@]/#/fuzz_}"

summary=()
failed=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  for seed in fuzz/corpus/"$target"/*; do
    [[ -e $corpus/$(basename "$seed") ]] || cp "$seed" "$corpus"/
  done
  before=$(find "$findings" -type f | wc -l)
  echo "== $target: ${seconds}s"
  status=0
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  after=$(find "$findings" -type f | wc -l)
  found=$((after - before))
  # The last status line libFuzzer printed holds the coverage reached.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n 1)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
  took=$(sed -nE 's/^Done [0-9]+ runs in ([0-9]+) second.*/\1/p' "$log" | tail -n 1)
  line="$target: ${runs:-?} executions in ${took:-?}s, cov ${cov:-?}, ft ${ft:-?}, findings $found"
  if ((status != 0 || found > 0)); then
    failed=1
    line+=" (exit $status; see $log and $findings)"
    grep -m 1 -E 'ERROR|check failed|deadly signal' "$log" || true
  fi
  echo "$line"
  summary+=("$line")
done

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
exit $failed
