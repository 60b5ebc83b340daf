#include "framework/storage/sqlite_connection.h"

#include <fmt/format.h>

#include <string>

#include "framework/storage/file_format.h"
#include "framework/storage/sqlite_status.h"
#include "framework/storage/table_layout.h"

namespace paltrix::storage::sqlite {
namespace {

// A sqlite::Statement seen through the seam.
class EmbeddedStatement final : public db::StatementEngine {
 public:
  Statement& statement() { return statement_; }

  void BindInteger(int index, std::int64_t value) override { statement_.BindInteger(index, value); }
  void BindText(int index, std::string_view value) override { statement_.BindText(index, value); }
  void BindBlob(int index, std::span<const char> value) override {
    statement_.BindBlob(index, value);
  }
  void BindNull(int index) override { statement_.BindNull(index); }
  // Compared by the kCollation collation of the key columns.
  void BindKeyText(int index, std::string_view value) override {
    statement_.BindText(index, value);
  }
  int Step() override { return statement_.Step(); }
  void Reset() override { statement_.Reset(); }
  std::int64_t ColumnInteger(int column) const override { return statement_.ColumnInteger(column); }
  std::string_view ColumnBytes(int column) const override { return statement_.ColumnBytes(column); }

 private:
  Statement statement_;
};

}  // namespace

int Statement::Prepare(sqlite3* connection, std::string_view sql, Statement& out) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v3(connection, sql.data(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
  out.handle_.reset(raw);
  out.bindFailure_ = SQLITE_OK;
  return rc;
}

void Statement::BindInteger(int index, std::int64_t value) {
  const int rc = sqlite3_bind_int64(handle_.get(), index, value);
  if (bindFailure_ == SQLITE_OK) bindFailure_ = rc;
}

void Statement::BindText(int index, std::string_view value) {
  const int rc = sqlite3_bind_text64(handle_.get(), index, value.data(), value.size(),
                                     SQLITE_STATIC, SQLITE_UTF8);
  if (bindFailure_ == SQLITE_OK) bindFailure_ = rc;
}

void Statement::BindBlob(int index, std::span<const char> value) {
  // A zero-length blob must not bind as NULL: give SQLite a valid pointer.
  static constexpr char kEmpty = 0;
  const char* data = value.empty() ? &kEmpty : value.data();
  const int rc = sqlite3_bind_blob64(handle_.get(), index, data, value.size(), SQLITE_STATIC);
  if (bindFailure_ == SQLITE_OK) bindFailure_ = rc;
}

void Statement::BindNull(int index) {
  const int rc = sqlite3_bind_null(handle_.get(), index);
  if (bindFailure_ == SQLITE_OK) bindFailure_ = rc;
}

int Statement::Step() {
  if (bindFailure_ != SQLITE_OK) return bindFailure_;
  return sqlite3_step(handle_.get());
}

void Statement::Reset() {
  sqlite3_reset(handle_.get());
  sqlite3_clear_bindings(handle_.get());
  bindFailure_ = SQLITE_OK;
}

std::int64_t Statement::ColumnInteger(int column) const {
  return sqlite3_column_int64(handle_.get(), column);
}

std::string_view Statement::ColumnBytes(int column) const {
  const void* data = sqlite3_column_blob(handle_.get(), column);
  const int size = sqlite3_column_bytes(handle_.get(), column);
  if (data == nullptr) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

std::string FileUri(const std::filesystem::path& path, std::string_view mode) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : path.string()) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || c == '/' || c == '.' || c == '-' || c == '_';
    if (plain) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    }
  }
  uri += "?mode=";
  uri += mode;
  return uri;
}

int Execute(sqlite3* connection, std::string_view sql) {
  const std::string text(sql);
  return sqlite3_exec(connection, text.c_str(), nullptr, nullptr, nullptr);
}

int EmbeddedConnection::Prepare(std::string_view sql, db::Statement& out) {
  auto statement = std::make_unique<EmbeddedStatement>();
  const int rc = Statement::Prepare(get(), sql, statement->statement());
  out = rc == SQLITE_OK ? db::Statement(std::move(statement)) : db::Statement();
  return rc;
}

int EmbeddedConnection::Execute(std::string_view sql) {
  return sqlite::Execute(get(), sql);
}

Status EmbeddedConnection::Failure(int rc, std::string_view context) {
  return SqliteFailure(get(), rc, context);
}

bool EmbeddedConnection::InTransaction() {
  return sqlite3_get_autocommit(get()) == 0;
}

void EmbeddedConnection::SetBusyWait(int milliseconds) {
  sqlite3_busy_timeout(get(), milliseconds);
}

// Writing the application id is a write: it takes the file's write lock
// before anything is read, so what is read next is current.
std::string EmbeddedConnection::TakeWriteLockSql(std::string_view schema) const {
  return fmt::format("PRAGMA {}.application_id = {}", schema, kApplicationId);
}

std::string EmbeddedConnection::BeginImmediateSql(std::span<const std::string>) const {
  return "BEGIN IMMEDIATE";
}

std::string EmbeddedConnection::IdentitySql(std::string_view schema) const {
  return fmt::format("PRAGMA {}.application_id", schema);
}

std::string EmbeddedConnection::ObjectCountSql(std::string_view schema) const {
  return fmt::format("SELECT count(*) FROM {}.sqlite_master", schema);
}

std::string EmbeddedConnection::TableExistsSql(std::string_view schema,
                                               std::string_view table) const {
  return fmt::format("SELECT count(*) FROM {}.sqlite_master WHERE type = 'table' AND name = '{}'",
                     schema, table);
}

std::string EmbeddedConnection::KeyIndexesSql(std::string_view schema,
                                              std::string_view table) const {
  return fmt::format(
      "SELECT name FROM {}.sqlite_master WHERE type = 'index' AND tbl_name = '{}' "
      "AND name GLOB 'key[0-9]*'",
      schema, table);
}

std::string EmbeddedConnection::CreateFileSql(std::string_view schema) const {
  return TakeWriteLockSql(schema);
}

std::string EmbeddedConnection::OpenFileSql(std::string_view schema) const {
  return fmt::format("PRAGMA {0}.journal_mode = WAL; PRAGMA {0}.synchronous = FULL", schema);
}

std::string EmbeddedConnection::RecordNumberColumn(std::string_view) const {
  return "INTEGER PRIMARY KEY AUTOINCREMENT";
}

std::string EmbeddedConnection::KeyTextType() const {
  return fmt::format("TEXT COLLATE {}", kCollation);
}

std::string EmbeddedConnection::CreateIndexSql(std::string_view schema, std::string_view table,
                                               std::string_view name, bool unique,
                                               std::string_view columns) const {
  return fmt::format("CREATE {}INDEX {}.{} ON {}({})", unique ? "UNIQUE " : "", schema, name, table,
                     columns);
}

std::string EmbeddedConnection::KeepNumberingSql(std::string_view schema, std::string_view table,
                                                 std::int64_t highWater) const {
  return fmt::format(
      "DELETE FROM {0}.sqlite_sequence WHERE name = '{1}'; "
      "INSERT INTO {0}.sqlite_sequence(name, seq) VALUES('{1}', {2})",
      schema, table, highWater);
}

std::string EmbeddedConnection::HighWaterSql(std::string_view schema,
                                             std::string_view table) const {
  return fmt::format("SELECT coalesce(max(seq), 0) FROM {}.sqlite_sequence WHERE name = '{}'",
                     schema, table);
}

}  // namespace paltrix::storage::sqlite
