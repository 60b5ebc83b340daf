#include "app/records/file_manager.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "app/records/record_files.h"
#include "framework/errors/message_numbers.h"
#include "framework/errors/runtime_error.h"
#include "framework/path/path_resolver.h"

namespace paltrix::records {
namespace {

constexpr int kHeldFileWaitMilliseconds = 10000;

storage::OpenOptions OptionsFor(WhenMissing whenMissing) {
  storage::OpenOptions options;
  options.createIfMissing = whenMissing == WhenMissing::kCreate;
  options.busyWaitMilliseconds = kHeldFileWaitMilliseconds;
  return options;
}

}  // namespace

std::filesystem::path DatabaseFileName(std::string_view diskName) {
  const std::size_t separator = diskName.find_last_of("\\/");
  return std::string(separator == std::string_view::npos ? diskName
                                                         : diskName.substr(separator + 1));
}

FileManager::FileManager(const storage::FileSchema& schema, errors::ErrorManager& errors)
    : schema_(schema), errors_(errors) {}

Status FileManager::Report(int messageNumber, Status status) const {
  errors::SetRuntimeError(status);
  errors_.SetFile(schema_.label);
  std::string_view detail = status.message();
  if (status.code() == ErrorCode::kDuplicateKey) {
    // The duplicate-key message names the key ("... for the key: PRO:IDKey").
    for (const storage::KeyDef& key : schema_.keys) {
      if (key.unique && detail.ends_with(key.label)) {
        detail = key.label;
        errors_.SetKey(key.label);
        break;
      }
    }
  }
  errors_.ThrowMessage(messageNumber, detail);
  return status;
}

Result<storage::KeyedFile*> FileManager::Open(storage::Session& session,
                                              WhenMissing whenMissing) const {
  if (!IsOpenedByStorageEngine(schema_)) {
    return Report(errors::msg::kFileOpenError,
                  Status(ErrorCode::kInvalidRecordDeclaration,
                         std::string(schema_.label) + " is not a keyed file that can be opened"));
  }
  if (session.target().isPostgres()) {
    // A missing file is told by the engine; reported as a failed open.
    return Opened(
        session.Open(schema_, DatabaseFileName(schema_.diskName), OptionsFor(whenMissing)),
        whenMissing, /*existed=*/true);
  }
  Result<std::filesystem::path> resolved = path::ResolveDiskName(schema_.diskName);
  if (!resolved.ok()) {
    if (resolved.status().code() != ErrorCode::kPathNotFound) {
      return Report(errors::msg::kFileOpenError, resolved.status());
    }
    if (whenMissing == WhenMissing::kAbsent) {
      return Status(ErrorCode::kFileNotFound, resolved.status().message());
    }
    return Report(errors::msg::kFileCreateError, resolved.status());
  }
  std::error_code error;
  const bool existed = std::filesystem::exists(*resolved, error);
  if (!existed && whenMissing == WhenMissing::kAbsent) {
    return Status(ErrorCode::kFileNotFound, resolved->string() + " does not exist");
  }

  return Opened(session.Open(schema_, *resolved, OptionsFor(whenMissing)), whenMissing, existed);
}

Result<storage::KeyedFile*> FileManager::Opened(Result<storage::KeyedFile*> file,
                                                WhenMissing whenMissing, bool existed) const {
  if (file.ok()) return file;
  if (whenMissing == WhenMissing::kAbsent && file.status().code() == ErrorCode::kFileNotFound) {
    return file.status();  // removed since we looked
  }
  if (file.status().code() == ErrorCode::kKeysNeedRebuild) {
    // The engine rebuilds stale keys while it opens; this is a rebuild that failed.
    Report(errors::msg::kInvalidKey, file.status());
    return Report(errors::msg::kKeyBuildError, file.status());
  }
  return Report(existed ? errors::msg::kFileOpenError : errors::msg::kFileCreateError,
                file.status());
}

}  // namespace paltrix::records
