#include "framework/storage/sqlite_connection.h"

#include <string>

namespace paltrix::storage::sqlite {

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

}  // namespace paltrix::storage::sqlite
