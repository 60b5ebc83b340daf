#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "framework/result.h"
#include "framework/storage/storage_target.h"

// Where this station's record files live (framework/storage/database_setting.h
// names the key and the variable). `paltrix`, `paltrix-cli` and `convert`
// read it once at start and open every record file there.
namespace paltrix::settings {

// The PostgreSQL database of `environmentValue` (the variable
// PALTRIX_DATABASE) when it holds more than blanks, else that of key
// "Connection" in section "Database" of the settings INI file (named by
// ".\splab.ini", ReadSettingsIniName) under `workingDirectory`, else the Data
// folder. A blank variable counts as unset: an empty export must not quietly
// move one station off the shared database onto a serial range of its own.
// Fails when an INI file exists but cannot be read.
Result<storage::StorageTarget> ReadStorageTarget(const std::filesystem::path& workingDirectory,
                                                 std::optional<std::string_view> environmentValue);

// The same with the process's own environment.
Result<storage::StorageTarget> ReadStorageTarget(const std::filesystem::path& workingDirectory);

}  // namespace paltrix::settings
