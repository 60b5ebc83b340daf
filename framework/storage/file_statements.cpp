#include "framework/storage/file_statements.h"

#include <fmt/format.h>

#include <utility>

namespace paltrix::storage {
namespace {

// "?first, ?first+1, ..." for count parameters.
std::string Parameters(std::size_t first, std::size_t count) {
  std::string list;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) list += ", ";
    list += fmt::format("?{}", first + i);
  }
  return list;
}

std::string Descending(const std::vector<std::string>& columns) {
  std::string list;
  for (const std::string& column : columns) list += column + " DESC, ";
  return fmt::format("{}{} DESC", list, kRecordNumber);
}

}  // namespace

FileStatements::FileStatements(db::Connection& connection, std::string database,
                               const TableLayout& layout, std::string context)
    : connection_(connection),
      database_(std::move(database)),
      layout_(layout),
      context_(std::move(context)),
      keyStatements_(layout.keys().size()) {}

Result<db::Statement*> FileStatements::Get(FileStatement which) {
  db::Statement& slot = fileStatements_[static_cast<std::size_t>(which)];
  if (slot.prepared()) return &slot;
  return Prepare(slot, Sql(which));
}

Result<db::Statement*> FileStatements::Get(std::size_t key, KeyStatement which) {
  db::Statement& slot = keyStatements_[key][static_cast<std::size_t>(which)];
  if (slot.prepared()) return &slot;
  return Prepare(slot, Sql(key, which));
}

Result<db::Statement*> FileStatements::Prepare(db::Statement& slot, const std::string& sql) {
  const int rc = connection_.Prepare(sql, slot);
  if (rc != db::kOk) return connection_.Failure(rc, context_);
  return &slot;
}

std::string FileStatements::KeysCurrentGuard() const {
  return fmt::format("(SELECT {} FROM {}.{}) = 0", kKeysStale, database_, kFileInfoTable);
}

std::string FileStatements::Sql(FileStatement which) const {
  const std::string table = fmt::format("{}.{}", database_, kRecordsTable);
  const std::string columns = layout_.RecordColumns();
  std::vector<std::string> written{std::string(kImage)};
  for (std::size_t m = 0; m < layout_.memoCount(); ++m) written.push_back(fmt::format("m{}", m));
  for (const KeyLayout& key : layout_.keys()) {
    written.insert(written.end(), key.columns.begin(), key.columns.end());
  }
  switch (which) {
    case FileStatement::kGet:
      return fmt::format("SELECT {} FROM {} WHERE {} = ?1", columns, table, kRecordNumber);
    case FileStatement::kInsert:
      return fmt::format("INSERT INTO {}({}) SELECT {} WHERE {} RETURNING {}", table,
                         fmt::join(written, ", "), Parameters(1, written.size()),
                         KeysCurrentGuard(), kRecordNumber);
    case FileStatement::kAppend:
      return fmt::format("INSERT INTO {}({}) VALUES({}) RETURNING {}", table,
                         fmt::join(written, ", "), Parameters(1, written.size()), kRecordNumber);
    case FileStatement::kUpdate:
    case FileStatement::kUpdateIfUnchanged: {
      std::string assignments;
      for (std::size_t i = 0; i < written.size(); ++i) {
        assignments += fmt::format("{}{} = ?{}", i > 0 ? ", " : "", written[i], i + 1);
      }
      std::string unchanged;
      if (which == FileStatement::kUpdateIfUnchanged) {
        const std::size_t first = written.size() + 2;
        unchanged += fmt::format(" AND {} = ?{}", kImage, first);
        for (std::size_t m = 0; m < layout_.memoCount(); ++m) {
          unchanged += fmt::format(" AND m{} = ?{}", m, first + 1 + m);
        }
      }
      return fmt::format("UPDATE {0} SET {1} WHERE {2} = ?{3}{4} AND {5} RETURNING {2}", table,
                         assignments, kRecordNumber, written.size() + 1, unchanged,
                         KeysCurrentGuard());
    }
    case FileStatement::kDelete:
      return fmt::format("DELETE FROM {0} WHERE {1} = ?1 RETURNING {1}", table, kRecordNumber);
    case FileStatement::kDeleteAll:
      return fmt::format("DELETE FROM {}", table);
    case FileStatement::kCount:
      return fmt::format("SELECT count(*) FROM {}", table);
    case FileStatement::kPhysicalNext:
      return fmt::format("SELECT {1} FROM {2} WHERE {0} > ?1 ORDER BY {0} LIMIT 1", kRecordNumber,
                         columns, table);
    case FileStatement::kPhysicalPrevious:
      return fmt::format("SELECT {1} FROM {2} WHERE {0} < ?1 ORDER BY {0} DESC LIMIT 1",
                         kRecordNumber, columns, table);
    case FileStatement::kKeysStale:
      return fmt::format("SELECT {} FROM {}.{}", kKeysStale, database_, kFileInfoTable);
    case FileStatement::kMarkKeysStale:
      return fmt::format("UPDATE {1}.{2} SET {0} = 1 WHERE {0} = 0", kKeysStale, database_,
                         kFileInfoTable);
  }
  return {};
}

std::string FileStatements::Sql(std::size_t key, KeyStatement which) const {
  const KeyLayout& layout = layout_.keys()[key];
  const std::size_t n = layout.columns.size();
  const std::string keyColumns = fmt::format("({})", fmt::join(layout.columns, ", "));
  const std::string value = fmt::format("({})", Parameters(1, n));
  const std::string number = fmt::format("?{}", n + 1);

  std::string range;
  bool forward = true;
  switch (which) {
    case KeyStatement::kFirst:
      break;
    case KeyStatement::kLast:
      forward = false;
      break;
    case KeyStatement::kFromValue:
      range = fmt::format("{} >= {}", keyColumns, value);
      break;
    case KeyStatement::kAfterValue:
      range = fmt::format("{} > {}", keyColumns, value);
      break;
    case KeyStatement::kBeforeValue:
      range = fmt::format("{} < {}", keyColumns, value);
      forward = false;
      break;
    case KeyStatement::kSameKeyAfter:
      range = fmt::format("{} = {} AND {} > {}", keyColumns, value, kRecordNumber, number);
      break;
    case KeyStatement::kSameKeyBefore:
      range = fmt::format("{} = {} AND {} < {}", keyColumns, value, kRecordNumber, number);
      forward = false;
      break;
    case KeyStatement::kEqual:
      range = fmt::format("{} = {}", keyColumns, value);
      break;
  }
  std::string where = KeysCurrentGuard();
  // A key that skips blanks reads only what its partial index holds; the
  // condition is repeated word for word so that SQLite can use that index.
  if (const std::string blanks = layout_.SkipsBlanksCondition(key); !blanks.empty()) {
    where += " AND " + blanks;
  }
  if (!range.empty()) where += " AND " + range;
  const std::string order =
      forward ? fmt::format("{}, {}", fmt::join(layout.columns, ", "), kRecordNumber)
              : Descending(layout.columns);
  return fmt::format("SELECT {} FROM {}.{} WHERE {} ORDER BY {} LIMIT 1", layout_.RecordColumns(),
                     database_, kRecordsTable, where, order);
}

void BindKeyValues(db::Statement& statement, int first, const KeyValues& values) {
  int index = first;
  for (const KeyValue& value : values) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      statement.BindInteger(index++, *number);
    } else {
      statement.BindKeyText(index++, std::get<std::string>(value));
    }
  }
}

}  // namespace paltrix::storage
