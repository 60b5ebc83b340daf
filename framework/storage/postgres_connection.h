#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/storage/database.h"

// The PostgreSQL server below the storage seam, over libpq. Each keyed file
// is a schema of the server's database holding its records table and its
// file description (file_format.h); what tells files apart is the schema
// name (SchemaNameFor).
//
// Statements are prepared on the server on their first run, with parameter
// types taken from what was bound, and sent and read in binary. Text key
// components go to the server case-folded (text::FoldCase) as bytea, which
// the server compares bytewise: the same order as the embedded engine's
// collation.
//
// A connection lost (server restarted, backend terminated) fails the
// operation in hand with kFileSystemError saying so; the next operation
// connects again, and every statement is prepared anew on the new
// connection. A transaction that was open is gone with the connection: its
// transaction level then reports it (TransactionStack::CheckIntact).
namespace paltrix::storage::postgres {

// The schema of the file whose disk name ends in `fileName`: its stem in
// lower case, every character but a-z, 0-9 and _ made _, after "f_" (so
// "PRODUKT.dat" and "produkt.DAT" are both f_produkt).
std::string SchemaNameFor(std::string_view fileName);

class ServerConnection final : public db::Connection {
 public:
  // Connects at once; a failure shows on the first operation, and every
  // operation tries again.
  explicit ServerConnection(std::string connectionString);
  ~ServerConnection() override;

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
  std::string_view BlobType() const override { return "bytea"; }
  std::string_view IntegerType() const override { return "bigint"; }
  std::string KeyTextType() const override { return "bytea"; }
  std::string CreateIndexSql(std::string_view schema, std::string_view table, std::string_view name,
                             bool unique, std::string_view columns) const override;
  std::string KeepNumberingSql(std::string_view schema, std::string_view table,
                               std::int64_t highWater) const override;
  std::string HighWaterSql(std::string_view schema, std::string_view table) const override;

  // --- For the statements of this connection -----------------------------
  // The live connection, connecting again when it was lost; nullptr (and
  // the failure recorded) when the server cannot be reached.
  PGconn* Live();
  // The connection when it is up, without connecting again; else nullptr.
  PGconn* Current() const;
  // Counts connections made: a statement prepared under an older one is
  // prepared again.
  std::uint64_t generation() const { return generation_; }
  std::string NextStatementName();
  // Records the outcome of a result (nullptr when the query could not be
  // sent); kOk or kFailed.
  int Record(const PGresult* result);
  // Runs `sql` (simple protocol) and records its outcome.
  int Run(const std::string& sql);

  static constexpr int kFailed = 1;

 private:
  void Connect();

  std::string connectionString_;
  PGconn* connection_ = nullptr;
  std::uint64_t generation_ = 0;
  std::uint64_t statementCount_ = 0;
  int busyWaitMilliseconds_ = 10000;
  // The last failure: SQLSTATE (empty when the connection failed) and text.
  std::string failureState_;
  std::string failureText_;
  bool connectionLost_ = false;
  bool reconnect_ = false;
};

}  // namespace paltrix::storage::postgres
