#include "framework/storage/file_format.h"

#include <fmt/format.h>

#include <utility>
#include <vector>

#include "framework/result.h"
#include "framework/storage/file_statements.h"

namespace paltrix::storage {
namespace {

struct FileInfo {
  std::int64_t formatVersion = 0;
  std::int64_t recordLength = 0;
  std::int64_t memoCount = 0;
  std::string keySignature;
  bool keysStale = false;
};

// Rows whose keys are recomputed per batch; the batch is read completely
// before any of its rows is written.
constexpr int kKeyBuildBatch = 512;

Status Failure(const FileContext& file, int rc) {
  return file.connection.Failure(rc, file.name);
}

Status Run(const FileContext& file, const std::string& sql) {
  if (sql.empty()) return Status::Ok();
  const int rc = file.connection.Execute(sql);
  if (rc == db::kOk) return Status::Ok();
  return Failure(file, rc);
}

Status Prepare(const FileContext& file, const std::string& sql, db::Statement& statement) {
  const int rc = file.connection.Prepare(sql, statement);
  if (rc == db::kOk) return Status::Ok();
  return Failure(file, rc);
}

// The first column of the first row of `sql`, 0 when there is no row.
Result<std::int64_t> QueryInteger(const FileContext& file, const std::string& sql) {
  db::Statement statement;
  if (Status status = Prepare(file, sql, statement); !status.ok()) return status;
  db::StatementRun run(statement);
  const int rc = run->Step();
  if (rc == db::kRow) return run->ColumnInteger(0);
  if (rc == db::kDone) return std::int64_t{0};
  return Failure(file, rc);
}

Status InvalidDataFile(const FileContext& file, std::string_view why) {
  return Status(ErrorCode::kInvalidDataFile, fmt::format("{}: {}", file.name, why));
}

// The first statement of a transaction level that changes the file: it
// takes this file's write lock (waiting out other writers) before anything is
// read, so what is read next is current and cannot go stale.
Status TakeWriteLock(const FileContext& file) {
  return Run(file, file.connection.TakeWriteLockSql(file.database));
}

Result<FileInfo> ReadFileInfo(const FileContext& file) {
  Result<std::int64_t> tables =
      QueryInteger(file, file.connection.TableExistsSql(file.database, kFileInfoTable));
  if (!tables.ok()) return tables.status();
  if (*tables == 0) return InvalidDataFile(file, "the file description is missing");

  db::Statement statement;
  Status status = Prepare(file,
                          fmt::format("SELECT format_version, record_length, memo_count, "
                                      "key_signature, {} FROM {}.{}",
                                      kKeysStale, file.database, kFileInfoTable),
                          statement);
  if (!status.ok()) return status;
  db::StatementRun run(statement);
  const int rc = run->Step();
  if (rc == db::kDone) return InvalidDataFile(file, "the file description is empty");
  if (rc != db::kRow) return Failure(file, rc);
  FileInfo info;
  info.formatVersion = run->ColumnInteger(0);
  info.recordLength = run->ColumnInteger(1);
  info.memoCount = run->ColumnInteger(2);
  info.keySignature = std::string(run->ColumnBytes(3));
  info.keysStale = run->ColumnInteger(4) != 0;
  return info;
}

Status CreateFile(const FileContext& file) {
  TransactionLevel level(file.transactions);
  if (Status status = level.Begin(); !status.ok()) return status;
  if (Status status = Run(file, file.connection.CreateFileSql(file.database)); !status.ok()) {
    return status;
  }
  // Another process may have created the file while this one waited.
  Result<std::int64_t> described =
      QueryInteger(file, file.connection.TableExistsSql(file.database, kFileInfoTable));
  if (!described.ok()) return described.status();
  if (*described > 0) return level.Commit();

  const std::string& db = file.database;
  Status status = Run(file, fmt::format("CREATE TABLE {}.{}(format_version INTEGER NOT NULL, "
                                        "label TEXT NOT NULL, record_length INTEGER NOT NULL, "
                                        "memo_count INTEGER NOT NULL, key_signature TEXT NOT NULL, "
                                        "{} INTEGER NOT NULL)",
                                        db, kFileInfoTable, kKeysStale));
  if (!status.ok()) return status;
  db::Statement insert;
  status = Prepare(
      file, fmt::format("INSERT INTO {}.{} VALUES(?1, ?2, ?3, ?4, ?5, 0)", db, kFileInfoTable),
      insert);
  if (!status.ok()) return status;
  const std::string signature = file.layout.KeySignature();
  {
    db::StatementRun run(insert);
    run->BindInteger(1, kFormatVersion);
    run->BindText(2, file.layout.schema().label);
    run->BindInteger(3, file.layout.schema().recordLength);
    run->BindInteger(4, static_cast<std::int64_t>(file.layout.memoCount()));
    run->BindText(5, signature);
    if (const int rc = run->Step(); rc != db::kDone) {
      return Failure(file, rc);
    }
  }
  status = Run(file, file.layout.CreateTableSql(file.connection, db, kRecordsTable));
  for (std::size_t key = 0; status.ok() && key < file.layout.keys().size(); ++key) {
    status = Run(file, file.layout.CreateIndexSql(file.connection, db, key));
  }
  if (!status.ok()) return status;
  return level.Commit();
}

// Copies every row into a table with the columns of the current layout, which
// replaces the old one; record numbers and the numbering's high-water mark stay.
Status RecreateRecordsTable(const FileContext& file) {
  const std::string& db = file.database;
  Result<std::int64_t> highWater =
      QueryInteger(file, file.connection.HighWaterSql(db, kRecordsTable));
  if (!highWater.ok()) return highWater.status();
  const std::string columns = file.layout.RecordColumns();
  const std::string rebuilt = fmt::format("{}_rebuild", kRecordsTable);
  const std::string steps[] = {
      file.layout.CreateTableSql(file.connection, db, rebuilt),
      fmt::format("INSERT INTO {0}.{1}({2}) SELECT {2} FROM {0}.{3}", db, rebuilt, columns,
                  kRecordsTable),
      fmt::format("DROP TABLE {}.{}", db, kRecordsTable),
      fmt::format("ALTER TABLE {}.{} RENAME TO {}", db, rebuilt, kRecordsTable),
      file.connection.KeepNumberingSql(db, kRecordsTable, *highWater),
  };
  for (const std::string& step : steps) {
    if (Status status = Run(file, step); !status.ok()) return status;
  }
  return Status::Ok();
}

Status RecomputeKeyColumns(const FileContext& file) {
  const TableLayout& layout = file.layout;
  std::vector<std::string> assignments;
  for (const KeyLayout& key : layout.keys()) {
    for (const std::string& column : key.columns) {
      assignments.push_back(fmt::format("{} = ?{}", column, assignments.size() + 1));
    }
  }
  db::Statement select;
  db::Statement update;
  Status status =
      Prepare(file,
              fmt::format("SELECT {0}, {1} FROM {2}.{3} WHERE {0} > ?1 ORDER BY {0} "
                          "LIMIT {4}",
                          kRecordNumber, kImage, file.database, kRecordsTable, kKeyBuildBatch),
              select);
  if (status.ok()) {
    status =
        Prepare(file,
                fmt::format("UPDATE {}.{} SET {} WHERE {} = ?{}", file.database, kRecordsTable,
                            fmt::join(assignments, ", "), kRecordNumber, assignments.size() + 1),
                update);
  }
  if (!status.ok()) return status;

  std::int64_t after = 0;
  std::vector<std::pair<std::int64_t, std::string>> batch;
  do {
    batch.clear();
    {
      db::StatementRun run(select);
      run->BindInteger(1, after);
      int rc;
      while ((rc = run->Step()) == db::kRow) {
        batch.emplace_back(run->ColumnInteger(0), std::string(run->ColumnBytes(1)));
      }
      if (rc != db::kDone) return Failure(file, rc);
    }
    for (const auto& [recno, image] : batch) {
      if (image.size() != layout.schema().recordLength) {
        return InvalidDataFile(file, fmt::format("record {} is damaged", recno));
      }
      std::vector<KeyValues> values;
      for (std::size_t key = 0; key < layout.keys().size(); ++key) {
        values.push_back(layout.ExtractKey(key, image));
      }
      db::StatementRun run(update);
      int index = 1;
      for (const KeyValues& keyValues : values) {
        BindKeyValues(update, index, keyValues);
        index += static_cast<int>(keyValues.size());
      }
      run->BindInteger(index, recno);
      if (const int rc = run->Step(); rc != db::kDone) {
        return Failure(file, rc);
      }
      after = recno;
    }
  } while (batch.size() == static_cast<std::size_t>(kKeyBuildBatch));
  return Status::Ok();
}

Status BuildKeysLocked(const FileContext& file) {
  const std::string& db = file.database;
  std::vector<std::string> oldIndexes;
  {
    db::Statement statement;
    Status status = Prepare(file, file.connection.KeyIndexesSql(db, kRecordsTable), statement);
    if (!status.ok()) return status;
    db::StatementRun run(statement);
    int rc;
    while ((rc = run->Step()) == db::kRow) oldIndexes.emplace_back(run->ColumnBytes(0));
    if (rc != db::kDone) return Failure(file, rc);
  }
  // Building each index once over finished columns is much cheaper than
  // keeping the indexes up to date row by row.
  for (const std::string& index : oldIndexes) {
    if (Status status = Run(file, fmt::format("DROP INDEX {}.\"{}\"", db, index)); !status.ok()) {
      return status;
    }
  }
  if (!file.layout.keys().empty()) {
    if (Status status = RecomputeKeyColumns(file); !status.ok()) return status;
  }
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    Status status = Run(file, file.layout.CreateIndexSql(file.connection, db, key));
    if (status.code() == ErrorCode::kDuplicateKey) {
      return Status(ErrorCode::kDuplicateKey,
                    fmt::format("{}: two records have the same value of the unique key {}",
                                file.name, file.layout.keys()[key].def->label));
    }
    if (!status.ok()) return status;
  }
  db::Statement update;
  Status status = Prepare(
      file,
      fmt::format("UPDATE {}.{} SET key_signature = ?1, {} = 0", db, kFileInfoTable, kKeysStale),
      update);
  if (!status.ok()) return status;
  const std::string signature = file.layout.KeySignature();
  db::StatementRun run(update);
  run->BindText(1, signature);
  if (const int rc = run->Step(); rc != db::kDone) {
    return Failure(file, rc);
  }
  return Status::Ok();
}

Status RebuildOnOpen(const FileContext& file) {
  TransactionLevel level(file.transactions);
  if (Status status = level.Begin(); !status.ok()) return status;
  if (Status status = TakeWriteLock(file); !status.ok()) return status;
  // Read again under the lock: another process may have rebuilt meanwhile.
  Result<FileInfo> info = ReadFileInfo(file);
  if (!info.ok()) return info.status();
  const bool otherKeys = info->keySignature != file.layout.KeySignature();
  if (otherKeys) {
    if (Status status = RecreateRecordsTable(file); !status.ok()) return status;
  }
  if (otherKeys || info->keysStale) {
    if (Status status = BuildKeysLocked(file); !status.ok()) return status;
  }
  return level.Commit();
}

}  // namespace

// Both reads are one read transaction, so a file that another process is creating at this moment is
// seen either empty or complete, never half-way.
Result<bool> IsFreshFile(const FileContext& file) {
  TransactionLevel snapshot(file.transactions);
  if (Status status = snapshot.Begin(); !status.ok()) return status;
  Result<std::int64_t> applicationId =
      QueryInteger(file, file.connection.IdentitySql(file.database));
  if (!applicationId.ok()) return applicationId.status();
  if (*applicationId == kApplicationId) {
    if (Status status = snapshot.Commit(); !status.ok()) return status;
    return false;
  }
  if (*applicationId == 0) {
    Result<std::int64_t> objects =
        QueryInteger(file, file.connection.ObjectCountSql(file.database));
    if (!objects.ok()) return objects.status();
    if (*objects == 0) {
      if (Status status = snapshot.Commit(); !status.ok()) return status;
      return true;
    }
  }
  return InvalidDataFile(file, "not a record file of this program");
}

Status PrepareFile(const FileContext& file, Access access) {
  Result<bool> isFresh = IsFreshFile(file);
  if (!isFresh.ok()) return isFresh.status();
  const bool fresh = *isFresh;
  const bool readOnly = access == Access::kReadOnly;
  if (readOnly && fresh) {
    return Status(ErrorCode::kAccessDenied,
                  fmt::format("{}: the file is empty and cannot be made a record file without "
                              "write access to it and its folder",
                              file.name));
  }

  Status status;
  if (!readOnly) {
    status = Run(file, file.connection.OpenFileSql(file.database));
  }
  if (status.ok() && fresh) status = CreateFile(file);
  if (!status.ok()) return status;

  Result<FileInfo> info = ReadFileInfo(file);
  if (!info.ok()) return info.status();
  const FileSchema& schema = file.layout.schema();
  if (info->formatVersion > kFormatVersion) {
    return InvalidDataFile(file, fmt::format("written in format {} by a newer program (this one "
                                             "reads up to {})",
                                             info->formatVersion, kFormatVersion));
  }
  if (info->recordLength != schema.recordLength ||
      info->memoCount != static_cast<std::int64_t>(file.layout.memoCount())) {
    return Status(ErrorCode::kInvalidRecordDeclaration,
                  fmt::format("{}: the file holds records of {} bytes with {} memos, the layout "
                              "declares {} bytes with {} memos",
                              file.name, info->recordLength, info->memoCount, schema.recordLength,
                              file.layout.memoCount()));
  }
  if (info->keySignature == file.layout.KeySignature() && !info->keysStale) return Status::Ok();
  if (readOnly) {
    return Status(ErrorCode::kKeysNeedRebuild,
                  fmt::format("{}: the keys need rebuilding, which needs write access to the file "
                              "and its folder",
                              file.name));
  }

  status = RebuildOnOpen(file);
  if (status.code() == ErrorCode::kDuplicateKey || status.code() == ErrorCode::kInvalidDataFile) {
    return Status(ErrorCode::kKeysNeedRebuild,
                  fmt::format("{}: the keys need rebuilding and could not be rebuilt: {}",
                              file.name, status.message()));
  }
  return status;
}

Status BuildKeys(const FileContext& file) {
  TransactionLevel level(file.transactions);
  if (Status status = level.Begin(); !status.ok()) return status;
  if (Status status = TakeWriteLock(file); !status.ok()) return status;
  if (Status status = BuildKeysLocked(file); !status.ok()) return status;
  return level.Commit();
}

}  // namespace paltrix::storage
