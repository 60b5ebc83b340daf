#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/storage/file_format.h"
#include "framework/storage/file_statements.h"
#include "framework/storage/keyed_file.h"
#include "framework/storage/sqlite_connection.h"
#include "framework/storage/storage_target.h"
#include "framework/storage/table_layout.h"
#include "framework/storage/transaction_stack.h"

// The insides of Session and KeyedFile, shared by their two source files.
namespace paltrix::storage {

// One database attached to the session's connection. Several KeyedFile
// objects opened on the same path share it.
struct Attachment {
  std::string database;  // schema name on the connection: "f1" .. "f10", or f_<file> on a server
  std::filesystem::path path;
  std::string keySignature;
  std::uint32_t recordLength = 0;
  std::size_t memoCount = 0;
  bool readOnly = false;  // attached read-only: this process may not write the file or its folder
  int users = 0;
};

struct Session::Impl {
  explicit Impl(const StorageTarget& target);

  // Bulk mode is one transaction level shared by every file in bulk mode: it
  // starts with the first file's BeginBulk and commits with the last EndBulk.
  Status BeginBulk();
  Status EndBulk();
  // After a transaction that bulk mode was begun in has been rolled back:
  // bulk mode went with it, on every file.
  void EndRolledBackBulk();
  // Detaches what Close() could not detach while a transaction was open.
  void DetachPending();
  void ReleaseAttachment(const std::string& database);
  // Attaches the file at `path` under a free name and makes it ready for
  // `layout` (PrepareFile); the name on success. A `readOnly` file is attached
  // read-only and only checked, never written.
  Result<std::string> Attach(const TableLayout& layout, const std::filesystem::path& path,
                             const OpenOptions& options, bool readOnly, const std::string& name);
  // The same on a server: the file's tables are found by the schema named
  // after its file name, made when missing and options.createIfMissing.
  Result<std::string> AttachOnServer(const TableLayout& layout, const std::string& schema,
                                     const OpenOptions& options, const std::string& name);
  // kInvalidValue inside a transaction, kFileSystemError when the session
  // holds kMaxFilesPerSession files already.
  Status CheckMayAttach(const std::string& name) const;
  // "f<n>" with the smallest n not in use.
  std::string FreeDatabaseName() const;

  Status connectionFailure;
  // Destroyed after every statement below. `embedded` is the same connection
  // when the files live in the Data folder, else null.
  std::unique_ptr<db::Connection> connection;
  sqlite::EmbeddedConnection* embedded = nullptr;
  TransactionStack transactions;
  std::vector<Attachment> attachments;
  std::vector<std::string> pendingDetach;
  std::vector<std::unique_ptr<KeyedFile>> files;
  std::size_t bulkFiles = 0;
  std::size_t bulkLevel = 0;
};

// Where Next()/Previous() continue from. Physical order keeps only a record
// number (0 before the first record, the largest number after the last);
// key order keeps the key value and record number of the record read last, or
// a probe value.
struct Cursor {
  enum class Anchor { kStart, kEnd, kProbe, kRecord };
  bool keyOrder = false;
  std::size_t key = 0;
  Anchor anchor = Anchor::kStart;
  KeyValues values;
  RecordNumber number = 0;
};

struct KeyedFile::Impl {
  // `name` is "Label (path)", or "Label (PostgreSQL schema)" on a server.
  Impl(Session::Impl& session, TableLayout layout, std::filesystem::path path, std::string database,
       std::string name, bool readOnly);

  FileContext context() {
    return FileContext{*session.connection, session.transactions, database, layout, name};
  }

  Session::Impl& session;
  TableLayout layout;
  std::filesystem::path path;
  std::string database;
  std::string name;  // "Label (path)" for messages
  FileStatements statements;
  Cursor cursor;
  RecordNumber position = 0;
  bool bulk = false;
  bool readOnly = false;
};

}  // namespace paltrix::storage
