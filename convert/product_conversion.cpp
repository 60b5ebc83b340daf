#include "convert/product_conversion.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>

#include "app/records/file_manager.h"
#include "app/records/produkt.h"
#include "convert/file_replace.h"
#include "convert/old_produkt.h"
#include "framework/path/path_resolver.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::convert {
namespace {

namespace produkt = records::produkt;

// The current record made from an old one, field by field; PRO:BRUGORDREID
// stays 0.
void ConvertRecord(const storage::Record& old, storage::Record& converted) {
  std::fill(converted.image.begin(), converted.image.end(), '\0');
  for (const old_produkt::FieldMapping& mapping : old_produkt::kMappings) {
    std::copy_n(old.image.begin() + mapping.from.offset, mapping.from.size,
                converted.image.begin() + mapping.to.offset);
  }
}

// True when the file at `path` is a product file of the current layout. Opens
// it without creating anything; a file of the right layout is not written to.
bool IsCurrentProductFile(const std::filesystem::path& path) {
  storage::Session session;
  return session.Open(produkt::kSchema, path, {.createIfMissing = false}).ok();
}

// Writes every record of `source` (already positioned) into `target` in the
// current layout, then builds the target's keys.
Status CopyRecords(storage::KeyedFile& source, storage::KeyedFile& target,
                   ConversionProgress& progress) {
  if (Status status = target.BeginBulk(); !status.ok()) return status;
  progress.Started();
  storage::Record old = storage::Record::Blank(old_produkt::kSchema);
  storage::Record converted = storage::Record::Blank(produkt::kSchema);
  std::int64_t count = 0;
  for (;;) {
    const Status read = source.Next(old);
    if (read.code() == ErrorCode::kRecordNotAvailable) break;
    if (!read.ok()) return read;
    ConvertRecord(old, converted);
    if (Result<storage::RecordNumber> appended = target.Append(converted); !appended.ok()) {
      return appended.status();
    }
    progress.RecordsConverted(++count);
  }
  if (Status status = target.EndBulk(); !status.ok()) return status;
  progress.BuildingKeys();
  return target.BuildKeys();
}

// Fills a fresh "Data\PRODUKT2.dat" at `targetPath` from the old file at
// `sourcePath`. Both files are closed again when this returns.
Status WriteConvertedFile(const std::filesystem::path& sourcePath,
                          const std::filesystem::path& targetPath, ConversionProgress& progress,
                          bool& alreadyCurrent) {
  storage::Session sourceSession;
  Result<storage::KeyedFile*> source =
      sourceSession.Open(old_produkt::kSchema, sourcePath, {.createIfMissing = false});
  if (!source.ok()) {
    alreadyCurrent = source.status().code() == ErrorCode::kInvalidRecordDeclaration &&
                     IsCurrentProductFile(sourcePath);
    return source.status();
  }
  // Holding the write lock for the whole copy lets others read the product
  // file meanwhile but not change it, so no change made during the copy is
  // lost by the replace. Nothing is written through this transaction.
  Result<storage::Session::Transaction> readLock = sourceSession.Begin(/*immediate=*/true);
  if (!readLock.ok()) return readLock.status();
  (*source)->SetPhysicalOrder();

  Status removed = storage::RemoveKeyedFile(targetPath);
  if (!removed.ok() && removed.code() != ErrorCode::kFileNotFound) return removed;
  storage::Session targetSession;
  Result<storage::KeyedFile*> target = targetSession.Open(produkt::kSchema, targetPath);
  if (!target.ok()) return target.status();
  return CopyRecords(**source, **target, progress);
}

// Puts the products of the converted file at `convertedPath` into the
// database's product file in place of all it holds, in one transaction: other
// stations go on reading the old products until the commit, none can write
// the file meanwhile, and any failure leaves the old products.
Status ReplaceDatabaseProducts(const std::filesystem::path& convertedPath,
                               const storage::StorageTarget& database) {
  storage::Session convertedSession;
  Result<storage::KeyedFile*> converted =
      convertedSession.Open(produkt::kSchema, convertedPath, {.createIfMissing = false});
  if (!converted.ok()) return converted.status();
  storage::Session session(database);
  Result<storage::KeyedFile*> target =
      session.Open(produkt::kSchema, records::DatabaseFileName(produkt::kSchema.diskName));
  if (!target.ok()) return target.status();
  Result<storage::Session::Transaction> replace = session.Begin(/*immediate=*/true);
  if (!replace.ok()) return replace.status();
  if (Status status = (*target)->DeleteAll(); !status.ok()) return status;
  storage::Record record = storage::Record::Blank(produkt::kSchema);
  (*converted)->SetPhysicalOrder();
  for (;;) {
    const Status read = (*converted)->Next(record);
    if (read.code() == ErrorCode::kRecordNotAvailable) break;
    if (!read.ok()) return read;
    if (Result<storage::RecordNumber> appended = (*target)->Append(record); !appended.ok()) {
      return appended.status();
    }
  }
  if (Status status = (*target)->BuildKeys(); !status.ok()) return status;
  return replace->Commit();
}

}  // namespace

Result<ConversionOutcome> ConvertProductFile(const std::filesystem::path& workingDirectory,
                                             const storage::StorageTarget& recordFiles,
                                             ConversionProgress& progress) {
  Result<std::filesystem::path> sourcePath =
      path::ResolveDiskName(old_produkt::kDiskName, workingDirectory);
  if (!sourcePath.ok()) return sourcePath.status();
  Result<std::filesystem::path> targetPath =
      path::ResolveDiskName(kTargetDiskName, workingDirectory);
  if (!targetPath.ok()) return targetPath.status();
  bool alreadyCurrent = false;
  const Status written = WriteConvertedFile(*sourcePath, *targetPath, progress, alreadyCurrent);
  if (alreadyCurrent) return ConversionOutcome::kAlreadyCurrent;
  if (!written.ok()) return written;
  // The Data folder's file is replaced as well, last: a second run then finds
  // it current and leaves alone the products the stations have changed since.
  if (recordFiles.isPostgres()) {
    if (Status status = ReplaceDatabaseProducts(*targetPath, recordFiles); !status.ok()) {
      return status;
    }
  }
  if (Status status = ReplaceKeyedFile(*targetPath, *sourcePath); !status.ok()) return status;
  return ConversionOutcome::kConverted;
}

std::string ConversionErrorText(const Status& status) {
  if (status.code() == ErrorCode::kFileSystemError) {
    return fmt::format("File System Error: ({}) {}", status.systemCode(), status.systemText());
  }
  return "Error: " + status.message();
}

}  // namespace paltrix::convert
