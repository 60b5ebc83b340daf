#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "framework/result.h"
#include "framework/storage/database.h"
#include "framework/storage/table_layout.h"

namespace paltrix::storage {

// Statements on the whole file. Those that use keys carry a guard: they
// find or change nothing while the keys are stale (see kKeysStale), which the
// caller then tells apart from "no such record".
enum class FileStatement {
  kGet,                // ?1 recno -> record columns
  kInsert,             // ?1 image, memos, key columns; guarded; -> recno
  kAppend,             // as kInsert with NULL key columns; not guarded; -> recno
  kUpdate,             // as kInsert, then recno; guarded; -> recno when changed
  kUpdateIfUnchanged,  // as kUpdate, then the image and memos it must still hold
  kDelete,             // ?1 recno; -> recno when deleted
  kDeleteAll,
  kCount,             // -> count
  kPhysicalNext,      // ?1 recno -> the record after it
  kPhysicalPrevious,  // ?1 recno -> the record before it
  kKeysStale,         // -> keys_stale
  kMarkKeysStale,
};
inline constexpr std::size_t kFileStatementCount = 12;

// Statements in the order of one key, all guarded. Parameters ?1..?n are the
// key's n component values, ?n+1 a record number. Key order is the key value,
// then the record number; a read from a record continues among the records
// with the same value (kSameKey*) before it moves to the next value
// (kAfterValue/kBeforeValue), so that each step is one index seek however
// long a run of equal values is.
enum class KeyStatement {
  kFirst,
  kLast,
  kFromValue,      // first record whose key >= value
  kAfterValue,     // first record whose key > value
  kBeforeValue,    // last record whose key < value
  kSameKeyAfter,   // first record with key = value and a higher record number
  kSameKeyBefore,  // last record with key = value and a lower record number
  kEqual,          // first record (by record number) whose key = value
};
inline constexpr std::size_t kKeyStatementCount = 8;

// The prepared statements of one attached file, each prepared on first use
// and kept for the life of the file. Every statement returns the record
// columns of TableLayout::RecordColumns() when it returns records.
class FileStatements {
 public:
  FileStatements(db::Connection& connection, std::string database, const TableLayout& layout,
                 std::string context);

  // The statement, ready to bind; the engine's failure when it cannot be
  // prepared.
  Result<db::Statement*> Get(FileStatement which);
  Result<db::Statement*> Get(std::size_t key, KeyStatement which);

 private:
  // "the keys are not stale", as a condition.
  std::string KeysCurrentGuard() const;
  std::string Sql(FileStatement which) const;
  std::string Sql(std::size_t key, KeyStatement which) const;
  Result<db::Statement*> Prepare(db::Statement& slot, const std::string& sql);

  db::Connection& connection_;
  std::string database_;
  const TableLayout& layout_;
  std::string context_;
  std::array<db::Statement, kFileStatementCount> fileStatements_;
  std::vector<std::array<db::Statement, kKeyStatementCount>> keyStatements_;
};

// Binds `values` to the parameters first, first+1, ... (text as key text).
// The strings must stay alive until the statement is reset.
void BindKeyValues(db::Statement& statement, int first, const KeyValues& values);

}  // namespace paltrix::storage
