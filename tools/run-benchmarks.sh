#!/usr/bin/env bash
# Builds the benchmarks under bench/ in release mode and runs each of them.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-bench --parallel "$(nproc)"

# The benchmarks on a database use a private server with a station's durable settings.
server_dir=build-bench/postgres-bench
PALTRIX_TEST_SERVER_DURABLE=1 ./tools/pg-test-server.sh start "$server_dir" >/dev/null
trap './tools/pg-test-server.sh remove "$server_dir" >/dev/null' EXIT
PALTRIX_TEST_POSTGRES=$(./tools/pg-test-server.sh url "$server_dir")
export PALTRIX_TEST_POSTGRES

status=0
for benchmark in build-bench/bench/*_bench; do
  [ -x "$benchmark" ] || continue
  echo "== $(basename "$benchmark")"
  "$benchmark" --benchmark_counters_tabular=true "$@" || status=1
done
exit $status
