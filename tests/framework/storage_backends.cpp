#include "tests/framework/storage_backends.h"

namespace paltrix::storage::testing {

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kEmbedded ? "Embedded" : "Postgres";
}

StorageUnderTest::StorageUnderTest(Backend backend) : backend_(backend) {
  if (backend == Backend::kPostgres) {
    database_ = std::make_unique<paltrix::testing::ScratchDatabase>();
    target_ = StorageTarget::Postgres(database_->url());
  }
}

bool StorageUnderTest::Exists(const std::filesystem::path& path, const FileSchema& schema) const {
  Session probe(target_);
  return probe.Open(schema, path, {.createIfMissing = false}).status().code() !=
         ErrorCode::kFileNotFound;
}

}  // namespace paltrix::storage::testing
