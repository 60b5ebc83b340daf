#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "framework/storage/keyed_file.h"
#include "framework/storage/storage_target.h"
#include "tests/support/postgres_test_server.h"
#include "tests/support/temp_directory.h"

// The storage engine's tests run once on each backend: value-parameterised
// on Backend, with the test's record files in a StorageUnderTest.
namespace paltrix::storage::testing {

enum class Backend { kEmbedded, kPostgres };

// "Embedded" / "Postgres", for the names of the instantiated tests.
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

// Where one test's record files live: a temporary Data folder on the
// embedded engine, a scratch database of the fixture's server on PostgreSQL
// (paths then name the files by their file names). Either way the folder
// exists, so paths are built the same.
class StorageUnderTest {
 public:
  explicit StorageUnderTest(Backend backend);

  Backend backend() const { return backend_; }
  const StorageTarget& target() const { return target_; }
  std::filesystem::path operator/(std::string_view name) const { return folder_ / name; }
  // The database URI on PostgreSQL (empty on the embedded engine).
  std::string databaseUrl() const { return database_ ? database_->url() : std::string(); }

  // Whether the keyed file at `path` exists (without creating it).
  bool Exists(const std::filesystem::path& path, const FileSchema& schema) const;

 private:
  Backend backend_;
  paltrix::testing::TempDirectory folder_;
  std::unique_ptr<paltrix::testing::ScratchDatabase> database_;
  StorageTarget target_;
};

inline const auto kBothBackends = ::testing::Values(Backend::kEmbedded, Backend::kPostgres);

}  // namespace paltrix::storage::testing
