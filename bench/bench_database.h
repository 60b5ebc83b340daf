#pragma once

#include <benchmark/benchmark.h>

#include <optional>

#include "framework/storage/storage_target.h"

// The benchmarks on a PostgreSQL database run on the private server that
// tools/run-benchmarks.sh starts (PALTRIX_TEST_POSTGRES).
namespace paltrix::bench {

// A fresh database of this benchmark process on that server, made on first
// use and dropped at exit; nullopt, with the benchmark skipped and told why,
// when no server was started or the database cannot be made.
std::optional<storage::StorageTarget> BenchDatabase(benchmark::State& state);

}  // namespace paltrix::bench
