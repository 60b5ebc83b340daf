#pragma once

#include <cstdint>
#include <string>

#include "framework/result.h"
#include "framework/status.h"
#include "framework/storage/database.h"
#include "framework/storage/table_layout.h"
#include "framework/storage/transaction_stack.h"

// The format of one keyed file's database, next to the records table of
// table_layout.h:
//
//   PRAGMA application_id = kApplicationId   -- marks the database as ours
//                                               (embedded engine; on PostgreSQL
//                                               the file's schema holding
//                                               file_info does)
//   file_info(format_version, label, record_length, memo_count,
//             key_signature, keys_stale)     -- exactly one row
//
// key_signature is TableLayout::KeySignature() of the layout the keys were
// last built for; keys_stale is 1 from an append without key maintenance
// until the next key build.
namespace paltrix::storage {

inline constexpr std::int32_t kApplicationId = 0x50414C54;  // "PALT"
inline constexpr int kFormatVersion = 1;

// One attached file as the format code sees it.
struct FileContext {
  db::Connection& connection;
  TransactionStack& transactions;
  const std::string& database;  // the file's schema name on the connection
  const TableLayout& layout;
  const std::string& name;  // "Label (path)", leads every message
};

enum class Access { kReadWrite, kReadOnly };

// Makes the freshly attached database ready for `layout`: creates it when it
// is empty, checks that it is ours and fits, and rebuilds its keys when they
// were built for other key definitions or are stale. kReadOnly only checks and
// writes nothing: an empty file is then kAccessDenied, keys that need a
// rebuild kKeysNeedRebuild.
// Failures: kInvalidDataFile (not ours, damaged, newer format),
// kInvalidRecordDeclaration (record length or memo count differ),
// kKeysNeedRebuild (a needed rebuild failed; the message says why),
// kRecordHeld (another process kept the file locked past the busy wait),
// kFileSystemError.
// REQUIRES: no transaction is open on the connection.
Status PrepareFile(const FileContext& file, Access access);

// True for an empty database that is still to be made a record file, false
// for one of ours; kInvalidDataFile for anything else.
Result<bool> IsFreshFile(const FileContext& file);

// Recomputes every key column from the record images and recreates the
// indexes, then clears the stale mark, all in one transaction level.
// kDuplicateKey (naming the key) when a unique key collides; the file is then
// as it was before.
Status BuildKeys(const FileContext& file);

}  // namespace paltrix::storage
