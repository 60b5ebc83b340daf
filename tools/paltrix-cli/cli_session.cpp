#include "tools/paltrix-cli/cli_session.h"

#include <fmt/format.h>

#include <filesystem>
#include <utility>

#include "app/records/firma.h"
#include "app/settings/database_setting.h"
#include "tools/paltrix-cli/cli_error.h"

namespace paltrix::cli {
namespace {

errors::ErrorManager& InitialisedErrorManager() {
  errors::ErrorManager& manager = errors::GlobalErrorManager();
  manager.Init();
  return manager;
}

// Where the station's record files are (app/settings/database_setting.h).
storage::StorageTarget StationTarget() {
  Result<storage::StorageTarget> target =
      settings::ReadStorageTarget(std::filesystem::current_path());
  if (!target.ok()) {
    throw Failed(fmt::format("cannot read the database setting: {}", target.status().ToString()));
  }
  return std::move(target).value();
}

}  // namespace

CliSession::CliSession()
    : errors_(InitialisedErrorManager()),
      registry_(errors_, StationTarget()),
      context_(registry_) {}

storage::KeyedFile& CliSession::File(const storage::FileSchema& schema) {
  Result<storage::KeyedFile*> file = context_.File(schema);
  if (!file) {
    throw Failed(
        fmt::format("cannot open the {} file: {}", schema.label, file.status().ToString()));
  }
  return **file;
}

bool CliSession::ReadCompany() {
  const Status status = context_.ReadFirma();
  if (status.code() == ErrorCode::kRecordNotAvailable) return false;
  Check(status, "cannot read the company record");
  return true;
}

void Check(const Status& status, std::string_view what) {
  if (!status.ok()) throw Failed(fmt::format("{}: {}", what, status.ToString()));
}

}  // namespace paltrix::cli
