#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

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

// Resets a statement when the scope ends, so that no statement keeps a read
// transaction (and with it a snapshot of the file) open between calls.
class StatementRun {
 public:
  explicit StatementRun(Statement& statement) : statement_(statement) {}
  StatementRun(const StatementRun&) = delete;
  StatementRun& operator=(const StatementRun&) = delete;
  ~StatementRun() { statement_.Reset(); }

  Statement* operator->() { return &statement_; }

 private:
  Statement& statement_;
};

// A "file:" URI for `path` with the given mode ("ro", "rw", "rwc"), every
// byte that could be read as URI syntax percent-encoded.
std::string FileUri(const std::filesystem::path& path, std::string_view mode);

// Runs SQL without results (one or more statements). SQLITE_OK or the code.
int Execute(sqlite3* connection, std::string_view sql);

}  // namespace paltrix::storage::sqlite
