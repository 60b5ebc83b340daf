#include "bench/bench_database.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "tests/support/postgres_test_server.h"

namespace paltrix::bench {

std::optional<storage::StorageTarget> BenchDatabase(benchmark::State& state) {
  static std::unique_ptr<testing::ScratchDatabase> database;
  static std::string failure;
  if (!database && failure.empty()) {
    try {
      database = std::make_unique<testing::ScratchDatabase>();
    } catch (const std::runtime_error& error) {
      failure = std::string(
                    "no PostgreSQL server (start the benchmarks with "
                    "tools/run-benchmarks.sh): ") +
                error.what();
    }
  }
  if (!database) {
    state.SkipWithError(failure.c_str());
    return std::nullopt;
  }
  return storage::StorageTarget::Postgres(database->url());
}

}  // namespace paltrix::bench
