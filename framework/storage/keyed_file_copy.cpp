#include <fmt/format.h>

#include <string>
#include <system_error>

#include "framework/path/file_system_error.h"
#include "framework/storage/file_format.h"
#include "framework/storage/keyed_file.h"
#include "framework/storage/sqlite_connection.h"
#include "framework/storage/sqlite_status.h"

namespace paltrix::storage {
namespace {

constexpr int kCopyBusyWaitMilliseconds = 10000;

Result<sqlite::Connection> OpenForCopy(const std::filesystem::path& path, std::string_view mode,
                                       int flags) {
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(sqlite::FileUri(path, mode).c_str(), &raw, flags | SQLITE_OPEN_URI, nullptr);
  sqlite::Connection connection(raw);
  if (rc != SQLITE_OK) return SqliteFailure(raw, rc, path.string());
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, kCopyBusyWaitMilliseconds);
  return connection;
}

Status CheckIsKeyedFile(sqlite3* connection, const std::filesystem::path& path) {
  sqlite::Statement statement;
  int rc = sqlite::Statement::Prepare(connection, "PRAGMA application_id", statement);
  if (rc != SQLITE_OK) return SqliteFailure(connection, rc, path.string());
  sqlite::StatementRun run(statement);
  rc = run->Step();
  if (rc != SQLITE_ROW) return SqliteFailure(connection, rc, path.string());
  if (run->ColumnInteger(0) == kApplicationId) return Status::Ok();
  return Status(ErrorCode::kInvalidDataFile,
                fmt::format("{}: not a record file of this program", path.string()));
}

}  // namespace

Status CopyKeyedFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  if (!std::filesystem::exists(from, error)) {
    return Status(ErrorCode::kFileNotFound,
                  fmt::format("{}: the file to copy does not exist", from.string()));
  }
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
  if (!std::filesystem::is_directory(folder, error)) {
    return Status(ErrorCode::kPathNotFound,
                  fmt::format("{}: the folder {} does not exist", to.string(), folder.string()));
  }
  Result<sqlite::Connection> source = OpenForCopy(from, "ro", SQLITE_OPEN_READONLY);
  if (!source.ok()) return source.status();
  if (Status status = CheckIsKeyedFile(source->get(), from); !status.ok()) return status;
  Result<sqlite::Connection> target =
      OpenForCopy(to, "rwc", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (!target.ok()) return target.status();

  // The backup reads a consistent snapshot of the source (with whatever its
  // write-ahead log holds) and replaces the target in one transaction, so a
  // reader of the target never sees half a copy and a stale log of the old
  // target cannot be replayed over the new one.
  sqlite3_backup* backup = sqlite3_backup_init(target->get(), "main", source->get(), "main");
  if (backup == nullptr) {
    return SqliteFailure(target->get(), sqlite3_errcode(target->get()), to.string());
  }
  const int stepped = sqlite3_backup_step(backup, -1);
  const int finished = sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE) {
    return SqliteFailure(target->get(), stepped == SQLITE_OK ? finished : stepped, to.string());
  }
  if (finished != SQLITE_OK) return SqliteFailure(target->get(), finished, to.string());
  return Status::Ok();
}

Status RemoveKeyedFile(const std::filesystem::path& path) {
  std::error_code error;
  // The database goes first: were it to stay while its log is gone, committed
  // records still in the log would be lost.
  if (!std::filesystem::remove(path, error)) {
    if (error) return FileSystemFailure(error, fmt::format("removing {}", path.string()));
    return Status(ErrorCode::kFileNotFound,
                  fmt::format("{}: the file to remove does not exist", path.string()));
  }
  // A log left behind could be replayed into a new file of the same name.
  for (const char* suffix : {"-wal", "-shm", "-journal"}) {
    std::filesystem::path side = path;
    side += suffix;
    if (!std::filesystem::remove(side, error) && error) {
      return FileSystemFailure(error, fmt::format("removing {}", side.string()));
    }
  }
  return Status::Ok();
}

}  // namespace paltrix::storage
