#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"

// The seam between the storage engine and the database engine under it.
// Everything above it (key order, cursors, transactions, the file format) is
// written once against these classes; below it the embedded engine
// (sqlite_connection.h) and the PostgreSQL client (postgres_connection.h)
// differ in what really differs: the connection, how a statement runs, how a
// failure maps to an ErrorCode, and the text of the schema statements.
//
// SQL given to a Connection numbers its parameters ?1, ?2, ...; statements
// that write rows and must say whether they did end in RETURNING.
namespace paltrix::storage::db {

// What Step() and Execute() return besides an engine's own failure code.
inline constexpr int kOk = 0;
inline constexpr int kRow = 100;   // a row is ready to read
inline constexpr int kDone = 101;  // the statement has run to its end

// One prepared statement of an engine.
class StatementEngine {
 public:
  virtual ~StatementEngine() = default;
  virtual void BindInteger(int index, std::int64_t value) = 0;
  virtual void BindText(int index, std::string_view value) = 0;
  virtual void BindBlob(int index, std::span<const char> value) = 0;
  virtual void BindNull(int index) = 0;
  // A text key component (Windows-1252 bytes), bound the way the engine
  // compares keys: case-insensitively, the Danish letters included.
  virtual void BindKeyText(int index, std::string_view value) = 0;
  virtual int Step() = 0;
  virtual void Reset() = 0;
  virtual std::int64_t ColumnInteger(int column) const = 0;
  virtual std::string_view ColumnBytes(int column) const = 0;
};

// A prepared statement, released when the object goes away.
//
// Bound text and blobs may not be copied: the caller keeps them alive until
// the statement has been reset (StatementRun does that at the end of its
// scope). A failed bind is remembered and returned by the next Step(), so a
// sequence of binds needs no checks of its own.
class Statement {
 public:
  Statement() = default;
  explicit Statement(std::unique_ptr<StatementEngine> engine) : engine_(std::move(engine)) {}

  bool prepared() const { return engine_ != nullptr; }

  void BindInteger(int index, std::int64_t value) { engine_->BindInteger(index, value); }
  void BindText(int index, std::string_view value) { engine_->BindText(index, value); }
  void BindBlob(int index, std::span<const char> value) { engine_->BindBlob(index, value); }
  void BindNull(int index) { engine_->BindNull(index); }
  void BindKeyText(int index, std::string_view value) { engine_->BindKeyText(index, value); }

  // kRow, kDone or the engine's failure code (Connection::Failure explains it).
  int Step() { return engine_->Step(); }
  // Back to the start with every parameter cleared; ends what the statement
  // holds open (a read snapshot, a result).
  void Reset() { engine_->Reset(); }

  std::int64_t ColumnInteger(int column) const { return engine_->ColumnInteger(column); }
  // The column's bytes as stored, valid until the next Step or Reset.
  std::string_view ColumnBytes(int column) const { return engine_->ColumnBytes(column); }

 private:
  std::unique_ptr<StatementEngine> engine_;
};

// Resets a statement when the scope ends, so that no statement keeps a read
// transaction (and with it a snapshot of the file) open between calls.
template <typename S>
class ResetOnExit {
 public:
  explicit ResetOnExit(S& statement) : statement_(statement) {}
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;
  ~ResetOnExit() { statement_.Reset(); }

  S* operator->() { return &statement_; }

 private:
  S& statement_;
};
using StatementRun = ResetOnExit<Statement>;

// One connection to a database engine. `schema` below is the name under
// which one keyed file's tables are reached ("f1" on the embedded engine, a
// schema of the server's database on PostgreSQL).
class Connection {
 public:
  virtual ~Connection() = default;

  // kOk and a prepared statement, or the failure code.
  virtual int Prepare(std::string_view sql, Statement& out) = 0;
  // Runs SQL without results (one or more statements); kOk or the code.
  virtual int Execute(std::string_view sql) = 0;
  // The Status of the failure `rc` that the last call on this connection
  // returned; `context` leads the message. Call it before anything else runs.
  virtual Status Failure(int rc, std::string_view context) = 0;
  // True while a transaction is open on the server or in the engine: false
  // inside a transaction level means the engine has rolled it back itself.
  virtual bool InTransaction() = 0;
  // How long a write waits for another writer before kRecordHeld.
  virtual void SetBusyWait(int milliseconds) = 0;

  // --- Statements that differ between engines ----------------------------
  // The first statement of a transaction level that will write file
  // `schema`: takes its write lock, waiting out other writers.
  virtual std::string TakeWriteLockSql(std::string_view schema) const = 0;
  // Takes the write lock of every file in `schemas` at the start of an
  // outermost transaction ("immediate").
  virtual std::string BeginImmediateSql(std::span<const std::string> schemas) const = 0;
  // One integer: kApplicationId when `schema` is a record file of ours, 0
  // when it is not marked (then ObjectCountSql tells empty from foreign).
  virtual std::string IdentitySql(std::string_view schema) const = 0;
  virtual std::string ObjectCountSql(std::string_view schema) const = 0;
  // One integer: 1 when `table` exists in `schema`, else 0.
  virtual std::string TableExistsSql(std::string_view schema, std::string_view table) const = 0;
  // Names of the key indexes ("key<n>") on `table`.
  virtual std::string KeyIndexesSql(std::string_view schema, std::string_view table) const = 0;
  // Makes an empty `schema` a record file before its tables are created.
  virtual std::string CreateFileSql(std::string_view schema) const = 0;
  // Run when a file that may be written is opened (durability settings).
  virtual std::string OpenFileSql(std::string_view schema) const = 0;
  // Column types: the record number column (with its numbering, which never
  // gives a number out twice), a blob, an integer, a text key component.
  virtual std::string RecordNumberColumn(std::string_view schema) const = 0;
  virtual std::string_view BlobType() const = 0;
  virtual std::string_view IntegerType() const = 0;
  virtual std::string KeyTextType() const = 0;
  // CREATE [UNIQUE] INDEX for `columns` of `table` under `name`.
  virtual std::string CreateIndexSql(std::string_view schema, std::string_view table,
                                     std::string_view name, bool unique,
                                     std::string_view columns) const = 0;
  // After `rebuilt` has replaced `table` (renamed to it): statements that
  // carry the numbering's high-water mark over, given the old table's.
  virtual std::string KeepNumberingSql(std::string_view schema, std::string_view table,
                                       std::int64_t highWater) const = 0;
  // One integer: the highest record number ever given out in `table`.
  virtual std::string HighWaterSql(std::string_view schema, std::string_view table) const = 0;
};

}  // namespace paltrix::storage::db
