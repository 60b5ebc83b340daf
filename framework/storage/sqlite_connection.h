#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "framework/storage/database.h"

// A thin RAII layer over the SQLite C API: a connection handle and a prepared
// statement. Only the storage engine uses it; nothing here knows about record
// files.
namespace paltrix::storage::sqlite {

struct ConnectionCloser {
  void operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// A prepared statement, finalised when the object goes away.
//
// Bound text and blobs are NOT copied: the caller keeps them alive until the
// statement has been reset (StatementRun does that at the end of its scope).
// A failed bind is remembered and returned by the next Step(), so a sequence
// of binds needs no checks of its own.
class Statement {
 public:
  Statement() = default;

  // SQLITE_OK and a statement, or the SQLite result code (message on the
  // connection). The statement is prepared for repeated use.
  static int Prepare(sqlite3* connection, std::string_view sql, Statement& out);

  bool prepared() const { return handle_ != nullptr; }

  void BindInteger(int index, std::int64_t value);
  void BindText(int index, std::string_view value);
  void BindBlob(int index, std::span<const char> value);
  void BindNull(int index);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Back to the start with every parameter cleared; ends the statement's
  // implicit read transaction.
  void Reset();

  std::int64_t ColumnInteger(int column) const;
  // The column's bytes (text or blob) as stored, valid until the next Step or
  // Reset.
  std::string_view ColumnBytes(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> handle_;
  int bindFailure_ = SQLITE_OK;
};

using StatementRun = db::ResetOnExit<Statement>;

// A "file:" URI for `path` with the given mode ("ro", "rw", "rwc"), every
// byte that could be read as URI syntax percent-encoded.
std::string FileUri(const std::filesystem::path& path, std::string_view mode);

// Runs SQL without results (one or more statements). SQLITE_OK or the code.
int Execute(sqlite3* connection, std::string_view sql);

static_assert(db::kOk == SQLITE_OK && db::kRow == SQLITE_ROW && db::kDone == SQLITE_DONE,
              "the engine's step codes pass through the seam unchanged");

// The embedded engine below the storage seam: one in-memory main database to
// which each keyed file is attached under its own schema name.
class EmbeddedConnection final : public db::Connection {
 public:
  explicit EmbeddedConnection(sqlite::Connection connection) : connection_(std::move(connection)) {}

  sqlite3* get() const { return connection_.get(); }

  int Prepare(std::string_view sql, db::Statement& out) override;
  int Execute(std::string_view sql) override;
  Status Failure(int rc, std::string_view context) override;
  bool InTransaction() override;
  void SetBusyWait(int milliseconds) override;

  std::string TakeWriteLockSql(std::string_view schema) const override;
  std::string BeginImmediateSql(std::span<const std::string> schemas) const override;
  std::string IdentitySql(std::string_view schema) const override;
  std::string ObjectCountSql(std::string_view schema) const override;
  std::string TableExistsSql(std::string_view schema, std::string_view table) const override;
  std::string KeyIndexesSql(std::string_view schema, std::string_view table) const override;
  std::string CreateFileSql(std::string_view schema) const override;
  std::string OpenFileSql(std::string_view schema) const override;
  std::string RecordNumberColumn(std::string_view schema) const override;
  std::string_view BlobType() const override { return "BLOB"; }
  std::string_view IntegerType() const override { return "INTEGER"; }
  std::string KeyTextType() const override;
  std::string CreateIndexSql(std::string_view schema, std::string_view table, std::string_view name,
                             bool unique, std::string_view columns) const override;
  std::string KeepNumberingSql(std::string_view schema, std::string_view table,
                               std::int64_t highWater) const override;
  std::string HighWaterSql(std::string_view schema, std::string_view table) const override;

 private:
  sqlite::Connection connection_;
};

}  // namespace paltrix::storage::sqlite
