#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each over its
# seed corpus for SECONDS. New inputs go to a fresh scratch corpus, so the
# committed seeds stay as they are. Exits non-zero when a target finds a
# crash, leak, timeout or failed property, naming the reproducer.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (default: 60, every target)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds="${1:-60}"
shift $(( $# > 0 ? 1 : 0 ))
build=build/fuzz
runs=$build/runs

mkdir -p "$build"
if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
     -DCMAKE_CXX_COMPILER=clang++ -DORVIKA2_FUZZ=ON >"$build/configure.log" 2>&1; then
  cat "$build/configure.log"; exit 1
fi
cmake --build "$build" -j2 || exit 1

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
failed=0
for name in "${targets[@]}"; do
  run=$runs/$name
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
  seeds=tests/fuzz/corpus/$name
  [ -d "$seeds" ] || seeds=$run/no-seeds
  mkdir -p "$seeds"
  # The target's own files go to its run folder too.
  TMPDIR=$root/$run/tmp "$build/tests/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$run/artifacts/" \
    "$run/corpus" "$seeds" >"$run/log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")
  cov=$(grep -o 'cov: [0-9]*' "$run/log" | tail -1)
  corpus=$(ls "$run/corpus" | wc -l)
  reproducers=$(find "$run/artifacts" -type f)
  if [ "$rc" -ne 0 ] || [ -n "$reproducers" ]; then
    failed=$((failed + 1))
    echo "=== fuzz $name: FAILED (exit $rc), log $run/log"
    grep -E 'ERROR|property failed|SUMMARY|runtime error' "$run/log" | head -n 5
    for file in $reproducers; do echo "reproducer: $file"; done
  else
    echo "=== fuzz $name: ${execs:-0} runs in ${seconds} s, ${cov:-cov: ?}, $corpus new inputs"
  fi
done
[ "$failed" -eq 0 ]
