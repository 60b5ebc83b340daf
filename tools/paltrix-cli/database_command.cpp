#include <fmt/format.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/records/database_copy.h"
#include "app/settings/database_setting.h"
#include "framework/console.h"
#include "framework/storage/database_setting.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/progress_line.h"

namespace paltrix::cli {
namespace {

// The database named on the command line, else the one the station is set to.
storage::StorageTarget TargetOf(const std::string& connection) {
  if (!connection.empty()) return storage::StorageTarget::Postgres(connection);
  Result<storage::StorageTarget> configured =
      settings::ReadStorageTarget(std::filesystem::current_path());
  if (!configured.ok()) {
    throw Failed(
        fmt::format("cannot read the database setting: {}", configured.status().ToString()));
  }
  if (!configured->isPostgres()) {
    throw BadInput(fmt::format(
        "no database to copy to: give its connection string, or set key {} of section [{}] in "
        "the settings INI file or the environment variable {}",
        storage::kConnectionKey, storage::kDatabaseSection, storage::kConnectionVariable));
  }
  return *configured;
}

void CopyToDatabase(const std::string& connection) {
  const storage::StorageTarget target = TargetOf(connection);
  std::unique_ptr<ProgressLine> progress;
  std::string_view progressLabel;
  const auto onProgress = [&](std::string_view label, std::int64_t done, std::int64_t total) {
    if (label != progressLabel) {
      progressLabel = label;
      progress =
          std::make_unique<ProgressLine>(std::string(label), static_cast<std::size_t>(total));
    }
    progress->Update(static_cast<std::size_t>(done));
  };
  Result<std::vector<records::CopiedFile>> copied =
      records::CopyDataFolderToDatabase(std::filesystem::current_path(), target, onProgress);
  progress.reset();
  if (!copied.ok()) {
    throw Failed(fmt::format("nothing was copied: {}", copied.status().ToString()));
  }
  std::int64_t total = 0;
  for (const records::CopiedFile& file : *copied) {
    console::WriteOut(fmt::format("{}: {} records\n", file.label, file.records));
    total += file.records;
  }
  console::WriteOut(fmt::format("Copied {} records into the database.\n", total));
}

}  // namespace

void AddDatabaseCommands(CLI::App& app) {
  CLI::App* copy = app.add_subcommand(
      "copy-to-database",
      "Copy the record files of the Data folder (catalogue, companies, SSCC serial) into an empty "
      "PostgreSQL database, all in one transaction: the database holds all of them or, on any "
      "failure, none. Refuses a database that already holds records. Stop every station first.");
  auto connection = std::make_shared<std::string>();
  copy->add_option("connection", *connection,
                   fmt::format("libpq connection string or URI of the database (default: the "
                               "station's setting, {} or [{}] {} in the settings INI file)",
                               storage::kConnectionVariable, storage::kDatabaseSection,
                               storage::kConnectionKey));
  copy->callback([connection] { CopyToDatabase(*connection); });
}

}  // namespace paltrix::cli
