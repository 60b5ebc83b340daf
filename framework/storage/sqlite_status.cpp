#include "framework/storage/sqlite_status.h"

#include <fmt/format.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace paltrix::storage {
namespace {

// Result codes whose failure comes from a system call, so that errno says
// what the operating system refused.
bool CameFromSystemCall(int primary) {
  return primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_FULL;
}

ErrorCode Classify(int extended, int systemErrno) {
  const int primary = extended & 0xFF;
  switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ErrorCode::kRecordHeld;
    case SQLITE_CONSTRAINT:
      return extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY
                 ? ErrorCode::kDuplicateKey
                 : ErrorCode::kFileSystemError;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return ErrorCode::kInvalidDataFile;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ErrorCode::kAccessDenied;
    default:
      break;
  }
  if (systemErrno == EACCES || systemErrno == EPERM || systemErrno == EROFS) {
    return ErrorCode::kAccessDenied;
  }
  if (primary == SQLITE_CANTOPEN && (systemErrno == ENOENT || systemErrno == ENOTDIR)) {
    return ErrorCode::kPathNotFound;
  }
  return ErrorCode::kFileSystemError;
}

}  // namespace

Status SqliteFailure(sqlite3* connection, int rc, std::string_view context) {
  const int extended = connection != nullptr ? sqlite3_extended_errcode(connection) : rc;
  // The connection's code is the one of its last failure; when the caller hands
  // in a code the connection did not record (a bind failure), trust the caller.
  const int code = (extended & 0xFF) == (rc & 0xFF) ? extended : rc;
  const std::string sqliteText =
      connection != nullptr && code == extended ? sqlite3_errmsg(connection) : sqlite3_errstr(code);
  const int systemErrno = connection != nullptr && CameFromSystemCall(code & 0xFF)
                              ? sqlite3_system_errno(connection)
                              : 0;
  const ErrorCode errorCode = Classify(code, systemErrno);
  std::string message = fmt::format("{}: {} (SQLite {})", context, sqliteText, code);
  if (errorCode != ErrorCode::kFileSystemError) return Status(errorCode, std::move(message));
  if (systemErrno != 0) {
    return Status(errorCode, std::move(message), systemErrno,
                  std::system_category().message(systemErrno));
  }
  return Status(errorCode, std::move(message), code, sqliteText);
}

}  // namespace paltrix::storage
