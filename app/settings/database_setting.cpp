#include "app/settings/database_setting.h"

#include <cstdlib>
#include <string>

#include "app/settings/settings_ini_name.h"
#include "framework/ini/ini_file.h"
#include "framework/path/path_resolver.h"
#include "framework/storage/database_setting.h"

namespace paltrix::settings {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

Result<storage::StorageTarget> ReadStorageTarget(const std::filesystem::path& workingDirectory,
                                                 std::optional<std::string_view> environmentValue) {
  if (environmentValue && !Trimmed(*environmentValue).empty()) {
    return storage::StorageTarget::Postgres(std::string(Trimmed(*environmentValue)));
  }
  Result<std::string> iniName = ReadSettingsIniName(workingDirectory);
  if (!iniName.ok()) return iniName.status();
  Result<std::filesystem::path> iniPath = path::ResolveDiskName(*iniName, workingDirectory);
  if (!iniPath.ok()) return iniPath.status();
  Result<ini::IniFile> ini = ini::IniFile::Load(std::move(iniPath).value());
  if (!ini.ok()) return ini.status();
  const std::string connection =
      ini->GetString(storage::kDatabaseSection, storage::kConnectionKey, "");
  if (connection.empty()) return storage::StorageTarget::DataFolder();
  return storage::StorageTarget::Postgres(connection);
}

Result<storage::StorageTarget> ReadStorageTarget(const std::filesystem::path& workingDirectory) {
  const char* value = std::getenv(std::string(storage::kConnectionVariable).c_str());
  return ReadStorageTarget(
      workingDirectory, value == nullptr ? std::nullopt : std::optional<std::string_view>(value));
}

}  // namespace paltrix::settings
