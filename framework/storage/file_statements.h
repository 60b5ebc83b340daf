#pragma once

#include <sqlite3.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "framework/result.h"
#include "framework/storage/sqlite_connection.h"
#include "framework/storage/table_layout.h"

namespace paltrix::storage {

// Statements on the whole file. Parameters: see FileStatements::Sql.
enum class FileStatement {
  kGet,               // ?1 recno -> record columns
  kInsert,            // ?1 image, memos, key columns -> (none)
  kUpdate,            // as kInsert, then recno
  kDelete,            // ?1 recno
  kCount,             // -> count
  kPhysicalNext,      // ?1 recno -> the record after it
  kPhysicalPrevious,  // ?1 recno -> the record before it
  kKeysStale,         // -> keys_stale
  kMarkKeysStale,
};
inline constexpr std::size_t kFileStatementCount = 9;

// Statements in the order of one key. Parameters ?1..?n are the key's n
// component values, ?n+1 the record number of the record last read.
enum class KeyStatement {
  kFirst,
  kLast,
  kFromProbe,     // first record whose key >= probe
  kBeforeProbe,   // last record whose key < probe
  kAfterRecord,   // first record after (key, recno)
  kBeforeRecord,  // last record before (key, recno)
  kEqual,         // first record (by record number) whose key = probe
};
inline constexpr std::size_t kKeyStatementCount = 7;

// The prepared statements of one attached file, each prepared on first use
// and kept for the life of the file. Every statement returns the record
// columns of TableLayout::RecordColumns() when it returns records.
class FileStatements {
 public:
  FileStatements(sqlite3* connection, std::string database, const TableLayout& layout,
                 std::string context);

  // The statement, ready to bind; SqliteFailure status when it cannot be
  // prepared.
  Result<sqlite::Statement*> Get(FileStatement which);
  Result<sqlite::Statement*> Get(std::size_t key, KeyStatement which);

 private:
  std::string Sql(FileStatement which) const;
  std::string Sql(std::size_t key, KeyStatement which) const;
  Result<sqlite::Statement*> Prepare(sqlite::Statement& slot, const std::string& sql);

  sqlite3* connection_;
  std::string database_;
  const TableLayout& layout_;
  std::string context_;
  std::array<sqlite::Statement, kFileStatementCount> fileStatements_;
  std::vector<std::array<sqlite::Statement, kKeyStatementCount>> keyStatements_;
};

// Binds `values` to the parameters first, first+1, ... The strings must stay
// alive until the statement is reset.
void BindKeyValues(sqlite::Statement& statement, int first, const KeyValues& values);

}  // namespace paltrix::storage
