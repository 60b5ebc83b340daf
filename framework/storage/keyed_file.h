#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/result.h"
#include "framework/status.h"
#include "framework/storage/network_file_system.h"
#include "framework/storage/schema.h"
#include "framework/storage/storage_target.h"

// The keyed-file storage engine.
//
// Each keyed record file is one SQLite database in the Data folder, or one
// schema of a PostgreSQL database (storage_target.h; the seam between them is
// framework/storage/database.h), holding one table of fixed-length record
// images and their memos; the key components are
// materialised as columns with one index per key, text keys ordered by a
// case-insensitive Windows-1252 collation (so "Rødkål" and "RØDKÅL" are one
// value of a unique key). Key order is the key value, then the record number.
// The row id is the record number, so physical order is insertion order;
// numbers of deleted records are never given out again. The layout on disk is
// described in framework/storage/table_layout.h and file_format.h.
//
// A Session is one record context (the original's per-thread buffers and
// handles): one database connection to which every file the context opens is
// attached. Because all files of a session share the connection, a
// Transaction spans every file of the session, which is how relation cascades
// stay all-or-nothing. A session holds at most kMaxFilesPerSession distinct
// files at once (SQLite's attach limit); opening the same path again shares
// the attachment and does not count.
//
// Contract common to every operation:
// - Failures come back as Status (never exceptions) with the ErrorCode the
//   error manager shows. kFileSystemError carries the operating system's
//   errno and text in systemCode/systemText when a system call failed, else
//   SQLite's extended result code and text (on a server: the server's text);
//   the message always names the file and the engine's own text. A lost
//   server connection is kFileSystemError saying so; the next operation
//   connects again. Misuse of the API is kInvalidValue.
// - Outside a Transaction or bulk mode, each write is one durable commit
//   (write-ahead log, synchronous=FULL; on a server its synchronous commit):
//   once Add() has returned, the record survives a crash or power loss.
// - Several processes may open the same file. Reading never waits; a write
//   waits for another process's write (up to OpenOptions::busyWaitMilliseconds
//   of the latest Open of the session) and then fails with kRecordHeld.
// - While appended records wait for BuildKeys() (by any process), every use
//   of a key (key-order reads, Fetch, Add, Put) fails with kKeysNeedRebuild
//   rather than miss them; physical reads, Get, Append and Delete still work.
// - A session and its files are used by one thread at a time.
namespace paltrix::storage {

using RecordNumber = std::int64_t;  // 1-based physical position

inline constexpr std::size_t kMaxFilesPerSession = 10;

// A record as the program's buffers hold it: the fixed image and its memos.
struct Record {
  std::vector<char> image;         // schema.recordLength bytes
  std::vector<std::string> memos;  // one per MemoDef, in schema order

  // All bytes zero, one empty memo per MemoDef.
  static Record Blank(const FileSchema& schema);
};

struct OpenOptions {
  bool createIfMissing = true;  // the create attribute: create empty, then open
  int busyWaitMilliseconds = 10000;
  // Tells what the file's folder lies on; a network file system is refused
  // (network_file_system.h). Tests put a fake one here.
  FileSystemProbe fileSystemProbe = ProbeFileSystem;
};

class Session;

class KeyedFile {
 public:
  KeyedFile(const KeyedFile&) = delete;
  KeyedFile& operator=(const KeyedFile&) = delete;
  ~KeyedFile();

  const FileSchema& schema() const;
  const std::filesystem::path& path() const;
  // Opened read-only because this process may not write the file or its
  // folder: reads work, every write is kAccessDenied.
  bool readOnly() const;

  // --- Sequential reading -------------------------------------------------
  // The reading position is the file object's own: direct access (Get, Fetch,
  // writes) does not move it. Each Next/Previous re-reads from the position
  // (the key value and record number read last), holds no read transaction
  // between calls, and so sees what anyone wrote meanwhile.
  //
  // Physical order: position before the first record (or after `after`).
  void SetPhysicalOrder(RecordNumber after = 0);
  // Key order on schema().keys[keyIndex]: position before the first record
  // whose key is >= the key value held in `probe` (all of probe's key fields),
  // or before the first record of the key when probe is null. A key that skips
  // blanks holds no record whose components are all blank or zero.
  // kInvalidValue for a key number the schema lacks or a probe of the wrong size.
  Status SetKeyOrder(std::size_t keyIndex, const Record* probe = nullptr);
  // Positions after the last record, so Previous() reads backwards.
  Status SetKeyOrderFromEnd(std::size_t keyIndex);
  void SetPhysicalOrderFromEnd();
  // The next/previous record in the current order. kRecordNotAvailable at the
  // end/beginning (the position stays, so a later call sees records added
  // since); kKeysNeedRebuild in key order while the keys are stale.
  Status Next(Record& out);
  Status Previous(Record& out);
  // Record number of the record read or written last (0 when none).
  RecordNumber position() const;

  // --- Direct access ------------------------------------------------------
  Status Get(RecordNumber number, Record& out);  // kRecordNotFound
  // The first record whose key equals probe's key value; kRecordNotFound.
  Status Fetch(std::size_t keyIndex, const Record& probe, Record& out);
  // Writes check the record first: an image of another length, more memos
  // than declared or a memo longer than its maximum is kInvalidValue (nothing
  // is cut short silently); memos left out of record.memos are written empty.
  // kDuplicateKey names the unique key refused.
  Status Put(RecordNumber number, const Record& record);  // kRecordNotFound, kDuplicateKey
  // Put, done only when the stored record still equals `expected` (image and
  // memos, as read before): one statement, so nobody can write in between.
  // False (nothing written) when the record has changed or is gone; the
  // caller reads it again. For read-modify-write without holding any lock.
  Result<bool> PutIfUnchanged(RecordNumber number, const Record& expected, const Record& record);
  Result<RecordNumber> Add(const Record& record);  // kDuplicateKey
  // Adds without maintaining keys; the file's keys are then stale (see the
  // contract above) until BuildKeys(). A later Open of a file with stale keys
  // rebuilds them itself, and fails with kKeysNeedRebuild only when that
  // rebuild fails (the message says why, e.g. which unique key collides).
  Result<RecordNumber> Append(const Record& record);
  Status Delete(RecordNumber number);  // kRecordNotFound
  // Deletes every record (their numbers are not given out again). Inside a
  // Transaction it is undone with it: DeleteAll, the new records and Commit
  // replace a file's contents all or nothing, readers seeing the old records
  // until the commit.
  Status DeleteAll();
  // Recomputes every key from the record images and rebuilds the indexes in
  // one transaction. kDuplicateKey (naming the key) when a unique key
  // collides; the file is then exactly as before, keys still stale.
  Status BuildKeys();
  Result<std::int64_t> RecordCount();

  // --- Bulk mode ----------------------------------------------------------
  // Between BeginBulk and EndBulk writes are collected in one transaction and
  // made durable by EndBulk. Bulk mode is shared by every file of the session
  // that is in it: the transaction starts with the first BeginBulk and is
  // committed by the last EndBulk, in whatever order the files end it. A
  // Transaction begun inside bulk mode must end before bulk mode does
  // (EndBulk is kInvalidValue otherwise). Closing a file ends its bulk mode.
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
  // A session on the record files of `target` (storage_target.h). On a
  // PostgreSQL database the path given to Open() names the file by its file
  // name only; what the rest of this interface promises holds on both, the
  // read-only opening and the file-system errors aside.
  explicit Session(const StorageTarget& target = StorageTarget::DataFolder());
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  // Opens a keyed file at an already resolved path (see framework/path).
  // A missing file is created empty when options.createIfMissing (else
  // kFileNotFound; kAccessDenied when its folder may not be written); a
  // missing folder is kPathNotFound and is never created. A file that this
  // process may not write, or whose folder it may not write, is opened
  // read-only (KeyedFile::readOnly) and is not changed on open: one that
  // would need creating or a key rebuild is then kAccessDenied or
  // kKeysNeedRebuild, one whose write-ahead log was left beside it
  // kAccessDenied (the log can be read only with write access). A
  // file whose stored key definitions differ from the schema, or whose keys
  // are stale, gets its keys rebuilt. A file that is not ours, damaged or of a
  // newer format gives kInvalidDataFile and is left untouched; a different
  // record length or memo count kInvalidRecordDeclaration, as does a path
  // the session already has open with another layout. kRecordHeld when a
  // needed create or rebuild waits too long for another process;
  // kFileSystemError for a file beyond kMaxFilesPerSession; kAccessDenied,
  // naming the database connection setting, for a folder on a network file
  // system (options.fileSystemProbe). The returned file
  // lives as long as the session or until Close().
  // REQUIRES: no Transaction or bulk mode is open in the session, unless the
  // path is already open in it (an attach cannot happen inside a
  // transaction; kInvalidValue).
  Result<KeyedFile*> Open(const FileSchema& schema, const std::filesystem::path& path,
                          const OpenOptions& options = {});
  // Closes a file of this session (others are ignored); `file` is invalid
  // afterwards. Ends the file's bulk mode, keeping what was written. The
  // database stays attached until an open transaction has ended.
  void Close(KeyedFile* file);

  // A transaction over every file of the session. Commit() makes all writes
  // durable; destroying an uncommitted Transaction rolls every write back.
  // Transactions nest: one begun inside another (or inside bulk mode) can be
  // undone alone, and must end first. `immediate` takes the write lock of every
  // file of the session at once (read-modify-write of a counter: nobody else
  // can write in between); inside another transaction it changes nothing.
  //
  // Atomicity across files: a failing step rolls every file back. With the
  // write-ahead log, a commit that the machine crashes in the middle of is
  // atomic per file only (each file is either before or after the commit).
  // REQUIRES: the Transaction ends before its Session.
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

  const StorageTarget& target() const { return target_; }

  // The engine's own state, opaque outside it (framework/storage/keyed_file_internal.h).
  struct Impl;

 private:
  friend class KeyedFile;
  StorageTarget target_;
  std::unique_ptr<Impl> impl_;
};

// Whole-file operations on a closed file.
//
// Copies a consistent snapshot of `from` (including what its write-ahead log
// holds) over `to`, replacing `to` in one transaction. kFileNotFound when
// `from` is missing, kInvalidDataFile when it is not a keyed file,
// kPathNotFound when the folder of `to` is missing.
Status CopyKeyedFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes the file and its side files (write-ahead log, shared-memory index).
// kFileNotFound when the file is missing.
Status RemoveKeyedFile(const std::filesystem::path& path);

}  // namespace paltrix::storage
