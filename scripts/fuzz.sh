#!/usr/bin/env bash
# Builds every fuzz target with clang and its sanitizers in build-fuzz/ and
# runs each for FUZZ_SECONDS (or FUZZ_RUNS runs when that is set), keeping
# the corpora in build-fuzz/corpus/NAME. fuzz/NAME.dict and fuzz/NAME.options
# add a dictionary and extra flags for one target. Give target names to run only those.
# Usage: scripts/fuzz.sh [fuzz_NAME ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
command -v clang++ > /dev/null || { echo "make fuzz needs clang (apt-get install clang)"; exit 1; }
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSHEEPFALL_FUZZ=ON -DSHEEPFALL_TESTS=OFF -DSHEEPFALL_BENCH=OFF > build-fuzz.configure.log 2>&1 \
  || { cat build-fuzz.configure.log; exit 1; }
cmake --build build-fuzz -j"$jobs" --target fuzz_all

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  corpus="$PWD/build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  [ -x "build-fuzz/fuzz/seeds_$name" ] && "build-fuzz/fuzz/seeds_$name" "$corpus"
  options=()
  [ -f "fuzz/$name.dict" ] && options+=("-dict=fuzz/$name.dict")
  # fuzz/NAME.options: extra libFuzzer flags on one line.
  if [ -f "fuzz/$name.options" ]; then read -ra extra < "fuzz/$name.options"; options+=("${extra[@]}"); fi
  if [ -n "${FUZZ_RUNS:-}" ]; then options+=("-runs=$FUZZ_RUNS"); else options+=("-max_total_time=$seconds"); fi
  echo "== $target"
  "build-fuzz/fuzz/$target" "${options[@]}" -print_final_stats=1 "$corpus" 2>&1 \
    | grep -vE '^#[0-9]+.*(NEW|REDUCE|pulse)' || { echo "$target failed"; exit 1; }
done
