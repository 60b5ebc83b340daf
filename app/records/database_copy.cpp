#include "app/records/database_copy.h"

#include <fmt/format.h>

#include <string>

#include "app/records/file_manager.h"
#include "app/records/record_files.h"
#include "framework/path/path_resolver.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::records {
namespace {

struct FilePair {
  const storage::FileSchema* schema;
  storage::KeyedFile* from = nullptr;  // nullptr: the Data folder has no such file
  storage::KeyedFile* to = nullptr;
  std::int64_t records = 0;
};

Status OpenSource(const std::filesystem::path& workingDirectory, storage::Session& session,
                  FilePair& file) {
  Result<std::filesystem::path> path =
      path::ResolveDiskName(file.schema->diskName, workingDirectory);
  if (!path.ok()) {
    return path.status().code() == ErrorCode::kPathNotFound ? Status::Ok() : path.status();
  }
  storage::OpenOptions options;
  options.createIfMissing = false;
  // Read once with the stations stopped, a Data folder on a share is moved off it.
  options.fileSystemProbe =
      [](const std::filesystem::path&) -> Result<storage::FileSystemIdentity> {
    return storage::FileSystemIdentity{};
  };
  Result<storage::KeyedFile*> opened = session.Open(*file.schema, *path, options);
  if (opened.status().code() == ErrorCode::kFileNotFound) return Status::Ok();
  if (!opened.ok()) return opened.status();
  file.from = *opened;
  Result<std::int64_t> count = file.from->RecordCount();
  if (!count.ok()) return count.status();
  file.records = *count;
  return Status::Ok();
}

Status OpenEmptyTarget(storage::Session& session, FilePair& file) {
  Result<storage::KeyedFile*> opened =
      session.Open(*file.schema, DatabaseFileName(file.schema->diskName));
  if (!opened.ok()) return opened.status();
  file.to = *opened;
  Result<std::int64_t> count = file.to->RecordCount();
  if (!count.ok()) return count.status();
  if (*count != 0) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("the database already holds record files ({}: {} records); a Data "
                              "folder is copied only into an empty database",
                              file.schema->label, *count));
  }
  return Status::Ok();
}

Status CopyRecords(FilePair& file, const CopyProgress& progress) {
  file.from->SetPhysicalOrder();
  storage::Record record;
  std::int64_t done = 0;
  while (true) {
    const Status read = file.from->Next(record);
    if (read.code() == ErrorCode::kRecordNotAvailable) break;
    if (!read.ok()) return read;
    Result<storage::RecordNumber> added = file.to->Add(record);
    if (!added.ok()) return added.status();
    ++done;
    if (progress) progress(file.schema->label, done, file.records);
  }
  if (done != file.records) {
    return Status(ErrorCode::kInvalidDataFile,
                  fmt::format("{}: {} records read of the {} the file holds", file.schema->label,
                              done, file.records));
  }
  return Status::Ok();
}

}  // namespace

Result<std::vector<CopiedFile>> CopyDataFolderToDatabase(
    const std::filesystem::path& workingDirectory, const storage::StorageTarget& target,
    const CopyProgress& progress) {
  if (!target.isPostgres()) {
    return Status(ErrorCode::kInvalidValue,
                  "the Data folder cannot be copied onto itself: name a PostgreSQL database");
  }
  std::vector<FilePair> files;
  for (const storage::FileSchema* schema : kFilesInCreationOrder) {
    if (IsOpenedByStorageEngine(*schema)) files.push_back(FilePair{.schema = schema});
  }

  storage::Session source(storage::StorageTarget::DataFolder());
  bool anySource = false;
  for (FilePair& file : files) {
    if (Status status = OpenSource(workingDirectory, source, file); !status.ok()) return status;
    anySource = anySource || file.from != nullptr;
  }
  if (!anySource) {
    return Status(
        ErrorCode::kFileNotFound,
        fmt::format("there are no record files to copy under {}", workingDirectory.string()));
  }
  Result<storage::Session::Transaction> snapshot = source.Begin();
  if (!snapshot.ok()) return snapshot.status();

  storage::Session database(target);
  for (FilePair& file : files) {
    if (Status status = OpenEmptyTarget(database, file); !status.ok()) return status;
  }
  Result<storage::Session::Transaction> transaction = database.Begin();
  if (!transaction.ok()) return transaction.status();
  std::vector<CopiedFile> copied;
  for (FilePair& file : files) {
    if (file.from != nullptr) {
      if (Status status = CopyRecords(file, progress); !status.ok()) return status;
    }
    copied.push_back(CopiedFile{.label = file.schema->label, .records = file.records});
  }
  if (Status status = transaction->Commit(); !status.ok()) return status;
  return copied;
}

}  // namespace paltrix::records
