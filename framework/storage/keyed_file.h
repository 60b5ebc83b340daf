#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/result.h"
#include "framework/status.h"
#include "framework/storage/schema.h"

// The keyed-file storage engine.
//
// Each keyed record file is one SQLite database holding one table of
// fixed-length record images; the key components are materialised as columns
// with one index per key, text keys ordered by a case-insensitive
// Windows-1252 collation. The row id is the record number, so physical order
// is insertion order.
//
// A Session is one record context (the original's per-thread buffers and
// handles): one database connection to which every file the context opens is
// attached. Because all files of a session share the connection, a
// Transaction spans every file of the session, which is how relation cascades
// stay all-or-nothing.
//
// Contract common to every operation:
// - Failures come back as Status (never exceptions) with the ErrorCode the
//   error manager shows; SQLite and OS failures are kFileSystemError with
//   their own code and text.
// - Outside a Transaction or bulk mode, each write is one durable commit.
// - Several processes may open the same file: the open is shared, a busy file
//   is waited for (up to OpenOptions::busyWait) before kRecordHeld.
namespace paltrix::storage {

using RecordNumber = std::int64_t;  // 1-based physical position

// A record as the program's buffers hold it: the fixed image and its memos.
struct Record {
  std::vector<char> image;         // schema.recordLength bytes
  std::vector<std::string> memos;  // one per MemoDef, in schema order

  static Record Blank(const FileSchema& schema);  // all bytes zero, memos empty
};

struct OpenOptions {
  bool createIfMissing = true;  // the create attribute: create empty, then open
  int busyWaitMilliseconds = 10000;
};

class Session;

class KeyedFile {
 public:
  KeyedFile(const KeyedFile&) = delete;
  KeyedFile& operator=(const KeyedFile&) = delete;
  ~KeyedFile();

  const FileSchema& schema() const;
  const std::filesystem::path& path() const;

  // --- Sequential reading -------------------------------------------------
  // Physical order: position before the first record (or after `after`).
  void SetPhysicalOrder(RecordNumber after = 0);
  // Key order on schema().keys[keyIndex]: position before the first record
  // whose key is >= the key value held in `probe` (all of probe's key fields),
  // or before the first record of the key when probe is null.
  Status SetKeyOrder(std::size_t keyIndex, const Record* probe = nullptr);
  // Positions after the last record, so Previous() reads backwards.
  Status SetKeyOrderFromEnd(std::size_t keyIndex);
  void SetPhysicalOrderFromEnd();
  // The next/previous record in the current order. kRecordNotAvailable at the
  // end/beginning. Records written meanwhile by others are seen.
  Status Next(Record& out);
  Status Previous(Record& out);
  // Record number of the record read or written last (0 when none).
  RecordNumber position() const;

  // --- Direct access ------------------------------------------------------
  Status Get(RecordNumber number, Record& out);  // kRecordNotFound
  // The first record whose key equals probe's key value; kRecordNotFound.
  Status Fetch(std::size_t keyIndex, const Record& probe, Record& out);
  Status Put(RecordNumber number, const Record& record);  // kRecordNotFound, kDuplicateKey
  Result<RecordNumber> Add(const Record& record);         // kDuplicateKey
  // Adds without maintaining keys; the file then needs BuildKeys() before any
  // key access, and reports kKeysNeedRebuild on open until it has had one.
  Result<RecordNumber> Append(const Record& record);
  Status Delete(RecordNumber number);  // kRecordNotFound
  Status BuildKeys();                  // kDuplicateKey when a unique key collides
  Result<std::int64_t> RecordCount();

  // --- Bulk mode ----------------------------------------------------------
  // Between BeginBulk and EndBulk writes are collected in one transaction and
  // made durable by EndBulk.
  Status BeginBulk();
  Status EndBulk();

  // The engine's own state, opaque outside it (framework/storage/keyed_file_internal.h).
  struct Impl;

 private:
  friend class Session;
  explicit KeyedFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class Session {
 public:
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  // Opens a keyed file at an already resolved path (see framework/path).
  // A missing file is created empty when options.createIfMissing; a file whose
  // stored key definitions differ from the schema gets its keys rebuilt; a
  // file that is not ours gives kInvalidDataFile; a different record length
  // kInvalidRecordDeclaration. The returned file lives as long as the session
  // or until Close().
  Result<KeyedFile*> Open(const FileSchema& schema, const std::filesystem::path& path,
                          const OpenOptions& options = {});
  void Close(KeyedFile* file);

  // A transaction over every file of the session. Commit() makes all writes
  // durable at once; destroying an uncommitted Transaction rolls every write
  // back. `immediate` takes the write lock at once (read-modify-write of a
  // counter: nobody else can write in between).
  class Transaction {
   public:
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    Transaction(Transaction&& other) noexcept;
    ~Transaction();
    Status Commit();

   private:
    friend class Session;
    explicit Transaction(Session* session);
    Session* session_;
    std::size_t level_;  // depth of the session's transaction stack with this one open
  };
  Result<Transaction> Begin(bool immediate = false);

  // The engine's own state, opaque outside it (framework/storage/keyed_file_internal.h).
  struct Impl;

 private:
  friend class KeyedFile;
  std::unique_ptr<Impl> impl_;
};

// Whole-file operations on a closed file.
Status CopyKeyedFile(const std::filesystem::path& from, const std::filesystem::path& to);
Status RemoveKeyedFile(const std::filesystem::path& path);

}  // namespace paltrix::storage
