#!/usr/bin/env bash
# Builds the benchmarks under bench/ in release mode and runs each of them.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-bench --parallel "$(nproc)"

status=0
for benchmark in build-bench/bench/*_bench; do
  [ -x "$benchmark" ] || continue
  echo "== $(basename "$benchmark")"
  "$benchmark" --benchmark_counters_tabular=true "$@" || status=1
done
exit $status
