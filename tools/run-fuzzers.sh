#!/usr/bin/env bash
# Builds the libFuzzer targets of the tavix32 transfer readers with clang and runs each for a
# bounded time (default 20 s; first argument overrides). Fails on any crash, hang or overrun.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DTAVIX32_FUZZ=ON -DPALTRIX_BUILD_BENCHMARKS=OFF -DBUILD_TESTING=OFF
fuzzers=(zmodem_header_fuzzer zmodem_subpacket_fuzzer xymodem_block_fuzzer)
cmake --build build-fuzz --parallel "$(nproc)" --target "${fuzzers[@]}"
for fuzzer in "${fuzzers[@]}"; do
  echo "== $fuzzer (${seconds} s)"
  "build-fuzz/serial/src/transfer/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=5 \
    -max_len=4096 -print_final_stats=1
done
