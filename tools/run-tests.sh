#!/usr/bin/env bash
# Builds the project twice (plain and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs every test in both builds. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh

jobs=$(nproc)
# run_build DIR "CTEST ARGS" CMAKE-ARGS...
run_build() {
  local dir=$1 ctest_args=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -DPALTRIX_WERROR=ON "$@"
  cmake --build "$dir" --parallel "$jobs"
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" --timeout 300 $ctest_args
}

# Line tables (-g1) are all a failing test's stack trace needs, and the builds take a fifth less
# time than with full debug information.
run_build build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"

# The libFuzzer targets of the serial transfers' line readers, 20 s each.
./tools/run-fuzzers.sh 20

# The sanitizer build leaves out the slow end-to-end cases (label "e2e"): they drive the same code
# through real peers and already ran in the plain build.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_build build-sanitize "-LE e2e" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DPALTRIX_SANITIZE=ON -DPALTRIX_BUILD_BENCHMARKS=OFF

