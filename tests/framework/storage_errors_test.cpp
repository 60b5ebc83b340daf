// The mapping of SQLite's and the operating system's failures to the error
// numbers the program shows.
#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

#include "framework/path/file_system_error.h"
#include "framework/storage/sqlite_status.h"

namespace paltrix::storage {
namespace {

TEST(SqliteFailure, MapsResultCodesToTheProgramsErrorNumbers) {
  struct Case {
    int rc;
    ErrorCode expected;
  };
  const Case cases[] = {
      {SQLITE_BUSY, ErrorCode::kRecordHeld},
      {SQLITE_BUSY_SNAPSHOT, ErrorCode::kRecordHeld},
      {SQLITE_LOCKED, ErrorCode::kRecordHeld},
      {SQLITE_CONSTRAINT_UNIQUE, ErrorCode::kDuplicateKey},
      {SQLITE_CONSTRAINT_NOTNULL, ErrorCode::kFileSystemError},
      {SQLITE_NOTADB, ErrorCode::kInvalidDataFile},
      {SQLITE_CORRUPT, ErrorCode::kInvalidDataFile},
      {SQLITE_READONLY, ErrorCode::kAccessDenied},
      {SQLITE_PERM, ErrorCode::kAccessDenied},
      {SQLITE_IOERR_WRITE, ErrorCode::kFileSystemError},
      {SQLITE_FULL, ErrorCode::kFileSystemError},
  };
  for (const Case& c : cases) {
    const Status status = SqliteFailure(nullptr, c.rc, "Produkt (PRODUKT.dat)");
    EXPECT_EQ(status.code(), c.expected) << c.rc;
    EXPECT_EQ(status.message().rfind("Produkt (PRODUKT.dat): ", 0), 0u) << status.message();
  }
}

TEST(SqliteFailure, AFileSystemErrorWithoutAnOsErrorCarriesSqlitesCodeAndText) {
  const Status status = SqliteFailure(nullptr, SQLITE_IOERR_WRITE, "Firma");
  EXPECT_EQ(status.systemCode(), SQLITE_IOERR_WRITE);
  EXPECT_EQ(status.systemText(), sqlite3_errstr(SQLITE_IOERR_WRITE));
  EXPECT_EQ(status.ToString(), std::string(sqlite3_errstr(SQLITE_IOERR_WRITE)) + " (" +
                                   std::to_string(SQLITE_IOERR_WRITE) + ")");
}

TEST(FileSystemFailure, MapsErrnoToTheProgramsErrorNumbers) {
  struct Case {
    int error;
    ErrorCode whenMissing;
    ErrorCode expected;
  };
  const Case cases[] = {
      {EACCES, ErrorCode::kFileNotFound, ErrorCode::kAccessDenied},
      {EROFS, ErrorCode::kFileNotFound, ErrorCode::kAccessDenied},
      {ENOENT, ErrorCode::kFileNotFound, ErrorCode::kFileNotFound},
      {ENOENT, ErrorCode::kPathNotFound, ErrorCode::kPathNotFound},
      {ENOTDIR, ErrorCode::kFileNotFound, ErrorCode::kPathNotFound},
      {ENOSPC, ErrorCode::kFileNotFound, ErrorCode::kFileSystemError},
  };
  for (const Case& c : cases) {
    const std::error_code error(c.error, std::system_category());
    const Status status = FileSystemFailure(error, "removing A5.tps", c.whenMissing);
    EXPECT_EQ(status.code(), c.expected) << c.error;
    EXPECT_EQ(status.systemCode(), c.error);
    EXPECT_EQ(status.systemText(), error.message());
  }
}

}  // namespace
}  // namespace paltrix::storage
