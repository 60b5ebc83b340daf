#!/usr/bin/env bash
# Builds the project twice (plain and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs every test in both builds. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh

jobs=$(nproc)
run_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DPALTRIX_WERROR=ON "$@"
  cmake --build "$dir" --parallel "$jobs"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" --timeout 300
}

run_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DPALTRIX_SANITIZE=ON -DPALTRIX_BUILD_BENCHMARKS=OFF
